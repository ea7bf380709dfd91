// SpringBoard's screen as the device shows it now: the status bar, the lock screen (with a
// ringing alarm) or the home screen; alerts on screen are drawn over it by the snapshot.
#include "LocalTime.h"
#include "VirtualDevice.h"

#include "foundation/DeviceClock.h"
#include "preferences/SettingsApp.h"
#include "springboard/DeviceTimeZone.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/SpringBoardScreen.h"
#include "springboard/StatusBar.h"
#include "uikit/UISnapshot.h"

#include <filesystem>

namespace sim {
namespace {

springboard::ScreenState screenState(const SpringBoardHost* host, bool locked) {
    springboard::ScreenState state;
    state.now = DeviceClock::now();
    state.utcOffset = springboard::deviceUtcOffset(state.now.timeIntervalSinceReferenceDate);
    state.locked = locked;
    if (auto ringing = host ? host->ringing() : std::nullopt; ringing && ringing->onLockScreen) {
        state.fullscreenAlarm = ringing->title;
        state.canSnooze = ringing->canSnooze;
    }
    state.items = StatusBar::shared().items();
    return state;
}

} // namespace

id VirtualDevice::screenWindow() {
    window_ = springboard::makeScreenWindow(screenState(springboard_.get(), locked_));
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
    } else if (screen == "statusbar") {
        written = UISnapshotWriteView(springboard::makeStatusBarView(screenState(springboard_.get(), locked_)),
                                      out.string(), 2.0);
    } else {
        written = UISnapshotWriteScreen(screenWindow(), out.string(), 2.0);
    }
    if (!written) return "cannot write " + out.string();
    out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  snapshot  " << out.filename().string() << '\n';
    return "";
}

} // namespace sim
