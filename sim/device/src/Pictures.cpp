// Each screen's picture, and whether it changed since the last look.
#include "device/Pictures.h"

#include "device/Apps.h"
#include "device/PngEncode.h"

#include "springboard/SpringBoardDisplay.h"
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

SnapshotImage Pictures::render(Screen screen, double scale) {
    apps_.claimAlerts(Screen::SpringBoard);
    if (screen == Screen::Phone && apps_.display()) {
        apps_.refreshPhone();
        return apps_.display()->stack().render(scale > 0 ? scale : scale_);
    }
    return UISnapshotRenderScreen(apps_.window(screen), scale > 0 ? scale : scale_);
}

SnapshotImage Pictures::renderStatusBar(double scale) {
    if (!apps_.springBoard())
        return {};
    return UISnapshotRenderView(apps_.springBoard()->statusBarView(), scale > 0 ? scale : scale_);
}

std::vector<uint8_t> Pictures::png(Screen screen, double scale) {
    return encodePng(render(screen, scale));
}

uint64_t Pictures::screenVersion(Screen screen) {
    return frame(screen, ~uint64_t{0} /* no picture wanted */).version;
}

Pictures::Frame Pictures::frame(Screen screen, uint64_t knownVersion) {
    SnapshotImage image = render(screen);
    Rendered& r = rendered_[screenIndex(screen)];
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
