// Each screen's kept picture, redrawn where views marked a change, and what changed in it.
#include "device/Apps.h"
#include "device/Pictures.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

// Rows compared together: a band's changed columns make one tile.
constexpr size_t kBand = 32;

// The smallest rectangle of a band whose pixels differ between two pictures of one size.
PixelRect changedInBand(const SnapshotImage& before, const SnapshotImage& after, size_t y0, size_t rows) {
    size_t x0 = after.width, x1 = 0, top = y0 + rows, bottom = y0;
    for (size_t y = y0; y < y0 + rows; ++y) {
        const uint8_t* a = &before.rgba[y * before.width * 4];
        const uint8_t* b = &after.rgba[y * after.width * 4];
        if (std::memcmp(a, b, after.width * 4) == 0)
            continue;
        size_t first = 0, last = after.width - 1;
        while (std::memcmp(a + first * 4, b + first * 4, 4) == 0)
            ++first;
        while (std::memcmp(a + last * 4, b + last * 4, 4) == 0)
            --last;
        x0 = std::min(x0, first);
        x1 = std::max(x1, last + 1);
        top = std::min(top, y);
        bottom = y + 1;
    }
    if (x1 <= x0)
        return {};
    return {x0, top, x1 - x0, bottom - top};
}

SnapshotImage cropped(const SnapshotImage& from, const PixelRect& r) {
    SnapshotImage out;
    out.width = r.width;
    out.height = r.height;
    out.rgba.resize(r.width * r.height * 4);
    for (size_t y = 0; y < r.height; ++y)
        std::memcpy(&out.rgba[y * r.width * 4], &from.rgba[((r.y + y) * from.width + r.x) * 4], r.width * 4);
    return out;
}

} // namespace

ScreenChanges Pictures::phoneChanges() {
    SnapshotImage now = render(Screen::Phone);
    ScreenChanges out;
    out.width = now.width;
    out.height = now.height;
    out.redrawnPixels = now.width * now.height;
    const bool comparable =
        phonePicture_.width == now.width && phonePicture_.height == now.height && !phonePicture_.rgba.empty();
    if (!comparable) {
        out.whole = true;
        out.tiles.push_back({{0, 0, now.width, now.height}, now});
    } else {
        // Band by band; bands changed one after the other make one tile.
        std::vector<PixelRect> rects;
        for (size_t y = 0; y < now.height; y += kBand) {
            const PixelRect r = changedInBand(phonePicture_, now, y, std::min(kBand, now.height - y));
            if (r.width == 0)
                continue;
            if (!rects.empty() && rects.back().y + rects.back().height == y) {
                PixelRect& last = rects.back();
                const size_t x0 = std::min(last.x, r.x), x1 = std::max(last.x + last.width, r.x + r.width);
                last = {x0, last.y, x1 - x0, r.y + r.height - last.y};
            } else {
                rects.push_back(r);
            }
        }
        for (const PixelRect& r : rects)
            out.tiles.push_back({r, cropped(now, r)});
    }
    phonePicture_ = std::move(now);
    return out;
}

ScreenChanges Pictures::changes(Screen screen) {
    apps_.claimAlerts(Screen::SpringBoard);
    if (screen == Screen::Phone) {
        ScreenChanges out = phoneChanges();
        uint64_t& version = changesVersion_[screenIndex(screen)];
        if (!out.tiles.empty())
            ++version;
        out.version = version;
        return out;
    }
    auto& canvas = canvas_[screenIndex(screen)];
    if (!canvas)
        canvas = std::make_unique<UIScreenCanvas>();
    const UIScreenCanvas::Changes drawn = canvas->draw(apps_.window(screen), scale_);
    ScreenChanges out;
    out.whole = drawn.whole;
    out.width = canvas->width();
    out.height = canvas->height();
    out.redrawnPixels = drawn.redrawnPixels;
    for (const PixelRect& r : drawn.rects)
        out.tiles.push_back({r, canvas->pixels(r)});
    uint64_t& version = changesVersion_[screenIndex(screen)];
    if (!out.tiles.empty())
        ++version;
    out.version = version;
    return out;
}

SnapshotImage Pictures::keptPicture(Screen screen) const {
    if (screen == Screen::Phone)
        return phonePicture_;
    const auto& canvas = canvas_[screenIndex(screen)];
    return canvas ? canvas->picture() : SnapshotImage{};
}

} // namespace sim
