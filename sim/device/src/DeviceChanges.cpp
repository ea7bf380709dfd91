// Each screen's kept picture, redrawn where views marked a change, and what changed in it.
#include "DeviceWindows.h"

#include "preferences/SettingsApp.h"
#include "uikit/UIView.h"

#include <algorithm>
#include <cmath>

namespace sim {

ScreenChanges Device::changes(Screen screen) {
    claimAlerts(Screen::SpringBoard);
    auto& canvas = windows_->canvas[indexOf(screen)];
    if (!canvas)
        canvas = std::make_unique<UIScreenCanvas>();
    const UIScreenCanvas::Changes drawn = canvas->draw(window(screen), setup_.scale);
    ScreenChanges out;
    out.whole = drawn.whole;
    out.width = canvas->width();
    out.height = canvas->height();
    out.redrawnPixels = drawn.redrawnPixels;
    for (const PixelRect& r : drawn.rects)
        out.tiles.push_back({r, canvas->pixels(r)});
    uint64_t& version = windows_->changesVersion[indexOf(screen)];
    if (!out.tiles.empty())
        ++version;
    out.version = version;
    return out;
}

SnapshotImage Device::keptPicture(Screen screen) const {
    const auto& canvas = windows_->canvas[indexOf(screen)];
    return canvas ? canvas->picture() : SnapshotImage{};
}

bool showsCurrentPage(SettingsApp& settings, const id& window, size_t depthWhenMade, CGSize screen) {
    if (!window || settings.depth() != depthWhenMade || !settings.currentController())
        return false;
    auto* table = dynamic_cast<UIView*>(msg<id>(settings.currentController(), "table").get());
    auto* page = table ? dynamic_cast<UIView*>(table->superview().get()) : nullptr;
    if (!page || page->superview() != window)
        return false;
    // The page's height as a new one would have it: the screen, the table, or whatever its
    // rows draw past the table.
    const double tall = std::max(double(screen.height), double(CGRectGetMaxY(table->frame())));
    const CGRect drawn = UISnapshotDrawnRect(page->self());
    const double height = std::max(tall, std::ceil(double(CGRectGetMaxY(drawn))));
    const CGSize size = page->frame().size;
    return size.height == height && size.width == screen.width && msg<CGRect>(window, "frame").size == size;
}

} // namespace sim
