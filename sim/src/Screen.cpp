// SpringBoard's screen as the simulator draws it: the status bar (time and the items add-ons
// show), the lock screen with its clock and a ringing alarm, or the home screen; alerts on
// screen are drawn over it by the snapshot.
#include "LocalTime.h"
#include "VirtualDevice.h"

#include "foundation/DeviceClock.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/StatusBar.h"
#include "uikit/UISnapshot.h"
#include "uikit/UIWindow.h"

#include <filesystem>

namespace sim {
namespace {

constexpr CGFloat kWidth = 320, kHeight = 568;

id make(const char* cls, CGRect frame) {
    return msg<id>(msg<id>(classObject(objc_getClass(cls)), "alloc"), "initWithFrame:", frame);
}
id color(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1) {
    return msg<id>(classObject(objc_getClass("UIColor")), "colorWithRed:green:blue:alpha:", r, g, b, a);
}
id label(id parent, CGRect frame, const std::string& text, id textColor, NSInteger alignment = 1) {
    id l = make("UILabel", frame);
    msg(l, "setText:", text);
    msg(l, "setTextColor:", textColor);
    msg(l, "setTextAlignment:", alignment);
    msg(l, "setBackgroundColor:", color(0, 0, 0, 0));
    msg(parent, "addSubview:", l);
    return l;
}

} // namespace

id VirtualDevice::screenWindow() {
    const std::string& tz = scenario_.settings.timeZone;
    const std::string clock = localClock(DeviceClock::now(), tz).substr(0, 5);
    id white = color(1, 1, 1);
    id window = make("UIWindow", {{0, 0}, {kWidth, kHeight}});
    msg(window, "setBackgroundColor:", locked_ ? color(0.09, 0.11, 0.16) : color(0.16, 0.33, 0.45));

    id bar = make("UIView", {{0, 0}, {kWidth, 20}});
    msg(bar, "setBackgroundColor:", color(0, 0, 0, 0.35));
    label(bar, {{6, 0}, {120, 20}}, "Carrier", white, 0);
    label(bar, {{110, 0}, {100, 20}}, clock, white, 1);
    CGFloat x = kWidth - 22;
    for (const auto& item : StatusBar::shared().items()) {
        if (!item.visible) continue;
        // An item shows as its glyph at the right: the disarm icon is a crescent moon.
        label(bar, {{x, 0}, {18, 20}}, item.imageName == "Hushmark" ? "\u263E" : "\u25CF", white, 1);
        x -= 20;
    }
    msg(window, "addSubview:", bar);

    if (locked_) {
        label(window, {{0, 70}, {kWidth, 60}}, clock, white, 1);
        label(window, {{0, 130}, {kWidth, 24}}, localDateTime(DeviceClock::now(), tz).substr(0, 10), white, 1);
        auto ringing = springboard_ ? springboard_->ringing() : std::nullopt;
        if (ringing && ringing->onLockScreen) {
            id panel = make("UIView", {{20, 200}, {kWidth - 40, 120}});
            msg(panel, "setBackgroundColor:", color(1, 1, 1, 0.15));
            msg(msg<id>(panel, "layer"), "setCornerRadius:", CGFloat{12});
            label(panel, {{0, 20}, {kWidth - 40, 30}}, "\u23F0 " + ringing->title, white, 1);
            label(panel, {{0, 70}, {kWidth - 40, 30}}, ringing->canSnooze ? "Snooze  \u00B7  slide to stop" : "slide to stop", white, 1);
            msg(window, "addSubview:", panel);
        } else {
            label(window, {{0, kHeight - 60}, {kWidth, 30}}, "slide to unlock", white, 1);
        }
    } else {
        const char* apps[] = {"Clock", "Settings", "Mail", "Photos"};
        for (int i = 0; i < 4; ++i) {
            id icon = make("UIView", {{CGFloat(20 + i * 76), 40}, {60, 60}});
            msg(icon, "setBackgroundColor:", color(0.95, 0.95, 0.97, 0.9));
            msg(msg<id>(icon, "layer"), "setCornerRadius:", CGFloat{13});
            msg(window, "addSubview:", icon);
            label(window, {{CGFloat(10 + i * 76), 102}, {80, 20}}, apps[i], white, 1);
        }
    }
    window_ = window;
    return window;
}

std::string VirtualDevice::snapshot(const std::string& screen, const std::string& file) {
    std::filesystem::path out = file;
    if (out.is_relative() && !options_.snapshotDir.empty()) out = options_.snapshotDir / out;
    std::error_code ec;
    if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);
    bool written = false;
    if (screen == "settings") {
        if (!settings_ || !settings_->currentController()) return "Settings shows no page";
        written = settings_->snapshot(out.string());
    } else if (screen == "statusbar") {
        id window = screenWindow();
        id bar = msg<std::vector<id>>(window, "subviews").front();
        written = UISnapshotWriteView(bar, out.string(), 2.0);
    } else {
        written = UISnapshotWriteScreen(screenWindow(), out.string(), 2.0);
    }
    if (!written) return "cannot write " + out.string();
    out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  snapshot  " << out.filename().string() << '\n';
    return "";
}

} // namespace sim
