#include "PendingPicture.h"

#include "ContextState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cg {

namespace {

// Starts a picture over columns [x, x + count) and rows [y0, y1) (false: nothing to hold).
bool startPattern(CGContext& ctx, int64_t x, size_t count, int64_t y0, int64_t y1) {
    settle(ctx);
    if (count == 0 || y1 <= y0)
        return false;
    PendingPicture& p = ctx.pending;
    // Sized once for the whole picture, so later draws allocate nothing.
    if (p.pattern.size() < ctx.width * 4)
        p.pattern.resize(ctx.width * 4);
    if (p.fine.size() < ctx.width * 4)
        p.fine.resize(ctx.width * 4);
    if (p.rows.size() < ctx.height)
        p.rows.resize(ctx.height);
    std::fill(p.rows.begin(), p.rows.begin() + (y1 - y0), RowMap{});
    p.x0 = x;
    p.x1 = x + int64_t(count);
    p.y0 = y0;
    p.y1 = y1;
    p.active = true;
    return true;
}

void workOutFine(PendingPicture& p) {
    const RowStops stops{p.at.data(), p.colors.data(), p.at.size()};
    opaqueRow(p.line, stops, p.positions.data() + p.first, size_t(p.x1 - p.x0), p.pattern.data(),
              p.fine.data(), widestRowVectors());
    p.fineReady = true;
}

} // namespace

void holdPattern(CGContext& ctx, const SpanColor* colors, int64_t x, size_t count, int64_t y0, int64_t y1) {
    if (!startPattern(ctx, x, count, y0, y1))
        return;
    uint8_t* pattern = ctx.pending.pattern.data();
    uint16_t* fine = ctx.pending.fine.data();
    ctx.pending.fineReady = true;
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(&pattern[4 * i], colors[i].bytes, 4);
        const CGColor& c = colors[i].color;
        fine[4 * i] = fineLevel(c.r);
        fine[4 * i + 1] = fineLevel(c.g);
        fine[4 * i + 2] = fineLevel(c.b);
        fine[4 * i + 3] = fineLevel(1);
    }
}

CGFloat* gradientPositions(CGContext& ctx) {
    settle(ctx);
    PendingPicture& p = ctx.pending;
    if (p.positions.size() < ctx.width)
        p.positions.resize(ctx.width);
    return p.positions.data();
}

void holdGradient(CGContext& ctx, const RowLine& line, const RowStops& stops, size_t first, int64_t x,
                  size_t count, int64_t y0, int64_t y1) {
    if (!startPattern(ctx, x, count, y0, y1))
        return;
    PendingPicture& p = ctx.pending;
    opaqueRow(line, stops, p.positions.data() + first, count, p.pattern.data(), nullptr, widestRowVectors());
    // Kept for the fine row; the vectors keep their capacity, so a later draw allocates nothing.
    p.fineReady = false;
    p.line = line;
    p.first = first;
    p.at.assign(stops.at, stops.at + stops.count);
    p.colors.assign(stops.colors, stops.colors + stops.count);
}

bool canJoin(const CGContext& ctx, int64_t x0, int64_t x1, int64_t y0, int64_t y1) {
    const PendingPicture& p = ctx.pending;
    return p.active && x0 == p.x0 && x1 == p.x1 && y0 >= p.y0 && y1 <= p.y1;
}

void settle(CGContext& ctx) {
    PendingPicture& p = ctx.pending;
    if (!p.active)
        return;
    p.active = false;
    const size_t count = size_t(p.x1 - p.x0);
    for (int64_t y = p.y0; y < p.y1; ++y) {
        const RowMap& map = p.rows[size_t(y - p.y0)];
        uint8_t* row = ctx.row(y) + 4 * p.x0;
        if (map.identity()) {
            copyRow(row, p.pattern.data(), count * 4);
            continue;
        }
        if (!p.fineReady)
            workOutFine(p);
        uint16_t scaled[4];
        for (int ch = 0; ch < 4; ++ch)
            scaled[ch] = fixedScaled(map.offset[ch]);
        mapFineSpan(row, p.fine.data(), count, scaled, fixedKeep(map.factor));
    }
}

} // namespace cg
