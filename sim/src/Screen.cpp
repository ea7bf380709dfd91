// SpringBoard's screen as the device shows it now: the status bar, the lock screen (with a
// ringing alarm) or the home screen; alerts on screen are drawn over it by the snapshot.
#include "LocalTime.h"
#include "VirtualDevice.h"

#include "foundation/DeviceClock.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UISnapshot.h"

#include <filesystem>

namespace sim {
id VirtualDevice::screenWindow() {
    window_ = springboard_ ? springboard_->screenWindow() : nullptr;
    return window_;
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
    } else if (!springboard_) {
        return "the device is not booted";
    } else if (screen == "statusbar") {
        written = UISnapshotWriteView(springboard_->statusBarView(), out.string(), 2.0);
    } else {
        written = UISnapshotWriteScreen(screenWindow(), out.string(), 2.0);
    }
    if (!written) return "cannot write " + out.string();
    out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  snapshot  " << out.filename().string() << '\n';
    return "";
}

} // namespace sim
