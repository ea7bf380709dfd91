// Each screen's kept picture, redrawn where views marked a change, and what changed in it.
#include "device/Apps.h"
#include "device/Pictures.h"

#include "springboard/SpringBoardDisplay.h"

namespace sim {

namespace {

// What a canvas drew, as the tiles to send with their pixels.
template <class Canvas> ScreenChanges tilesOf(const UIScreenCanvas::Changes& drawn, const Canvas& canvas) {
    ScreenChanges out;
    out.whole = drawn.whole;
    out.width = canvas.width();
    out.height = canvas.height();
    out.redrawnPixels = drawn.redrawnPixels;
    for (const PixelRect& r : drawn.rects)
        out.tiles.push_back({r, canvas.pixels(r)});
    return out;
}

} // namespace

ScreenChanges Pictures::phoneChanges() {
    apps_.refreshPhone();
    UIWindowStack& stack = apps_.display()->stack();
    if (!phoneCanvas_)
        phoneCanvas_ = std::make_unique<UIDisplayCanvas>();
    return tilesOf(phoneCanvas_->draw(stack.orderedWindows(), stack.alerts(), stack.size(), scale_),
                   *phoneCanvas_);
}

ScreenChanges Pictures::changes(Screen screen) {
    apps_.claimAlerts(Screen::SpringBoard);
    ScreenChanges out;
    if (screen == Screen::Phone && apps_.display()) {
        out = phoneChanges();
    } else {
        auto& canvas = canvas_[screenIndex(screen)];
        if (!canvas)
            canvas = std::make_unique<UIScreenCanvas>();
        out = tilesOf(canvas->draw(apps_.window(screen), scale_), *canvas);
    }
    uint64_t& version = changesVersion_[screenIndex(screen)];
    if (!out.tiles.empty())
        ++version;
    out.version = version;
    return out;
}

SnapshotImage Pictures::keptPicture(Screen screen) const {
    if (screen == Screen::Phone && phoneCanvas_)
        return phoneCanvas_->picture();
    const auto& canvas = canvas_[screenIndex(screen)];
    return canvas ? canvas->picture() : SnapshotImage{};
}

} // namespace sim
