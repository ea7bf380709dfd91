// Each screen's picture, its extent, and whether it changed since the last look.
#include "DeviceWindows.h"

#include "device/PngEncode.h"

#include "springboard/SpringBoardHost.h"
#include "uikit/UIWindow.h"

namespace sim {
namespace {

uint64_t fnv1a(const std::vector<uint8_t>& bytes, size_t width, size_t height) {
    uint64_t h = 1469598103934665603ull ^ (width * 31 + height);
    for (uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

} // namespace

CGSize Device::extent(Screen screen) {
    return msg<CGRect>(window(screen), "bounds").size;
}

SnapshotImage Device::render(Screen screen, double scale) {
    claimAlerts(Screen::SpringBoard);
    return UISnapshotRenderScreen(window(screen), scale > 0 ? scale : setup_.scale);
}

SnapshotImage Device::renderStatusBar(double scale) {
    if (!springboard_)
        return {};
    return UISnapshotRenderView(springboard_->statusBarView(), scale > 0 ? scale : setup_.scale);
}

std::vector<uint8_t> Device::png(Screen screen, double scale) {
    return encodePng(render(screen, scale));
}

uint64_t Device::screenVersion(Screen screen) {
    return frame(screen, ~uint64_t{0} /* no picture wanted */).version;
}

Device::Frame Device::frame(Screen screen, uint64_t knownVersion) {
    SnapshotImage image = render(screen);
    Windows::Rendered& r = windows_->rendered[indexOf(screen)];
    const uint64_t h = fnv1a(image.rgba, image.width, image.height);
    if (!r.any || r.hash != h) {
        r.any = true;
        r.hash = h;
        ++r.version;
    }
    Frame f{r.version, {}};
    if (knownVersion != ~uint64_t{0} && knownVersion != r.version)
        f.png = encodePng(image);
    return f;
}

} // namespace sim
