#include "PendingPicture.h"

#include "ContextState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cg {

uint8_t* startPattern(CGContext& ctx, int64_t x, size_t count, int64_t y0, int64_t y1, uint16_t*& fine) {
    settle(ctx);
    fine = nullptr;
    if (count == 0 || y1 <= y0) return nullptr;
    PendingPicture& p = ctx.pending;
    // Sized once for the whole picture, so later draws allocate nothing.
    if (p.pattern.size() < ctx.width * 4) p.pattern.resize(ctx.width * 4);
    if (p.fine.size() < ctx.width * 4) p.fine.resize(ctx.width * 4);
    if (p.rows.size() < ctx.height) p.rows.resize(ctx.height);
    std::fill(p.rows.begin(), p.rows.begin() + (y1 - y0), RowMap{});
    p.x0 = x;
    p.x1 = x + int64_t(count);
    p.y0 = y0;
    p.y1 = y1;
    p.active = true;
    fine = p.fine.data();
    return p.pattern.data();
}

void holdPattern(CGContext& ctx, const SpanColor* colors, int64_t x, size_t count, int64_t y0, int64_t y1) {
    uint16_t* fine = nullptr;
    uint8_t* pattern = startPattern(ctx, x, count, y0, y1, fine);
    if (!pattern) return;
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(&pattern[4 * i], colors[i].bytes, 4);
        const CGColor& c = colors[i].color;
        fine[4 * i] = fineLevel(c.r);
        fine[4 * i + 1] = fineLevel(c.g);
        fine[4 * i + 2] = fineLevel(c.b);
        fine[4 * i + 3] = fineLevel(1);
    }
}

bool canJoin(const CGContext& ctx, int64_t x0, int64_t x1, int64_t y0, int64_t y1) {
    const PendingPicture& p = ctx.pending;
    return p.active && x0 == p.x0 && x1 == p.x1 && y0 >= p.y0 && y1 <= p.y1;
}

void settle(CGContext& ctx) {
    PendingPicture& p = ctx.pending;
    if (!p.active) return;
    p.active = false;
    const size_t count = size_t(p.x1 - p.x0);
    for (int64_t y = p.y0; y < p.y1; ++y) {
        const RowMap& map = p.rows[size_t(y - p.y0)];
        uint8_t* row = ctx.row(y) + 4 * p.x0;
        if (map.identity()) {
            std::memcpy(row, p.pattern.data(), count * 4);
            continue;
        }
        uint16_t scaled[4];
        for (int ch = 0; ch < 4; ++ch) scaled[ch] = fixedScaled(map.offset[ch]);
        mapFineSpan(row, p.fine.data(), count, scaled, fixedKeep(map.factor));
    }
}

} // namespace cg
