#include "PhoneApps.h"

#include "clock/ClockApp.h"
#include "preferences/SettingsApp.h"
#include "springboard/AppIcons.h"
#include "springboard/SpringBoardApps.h"
#include "springboard/SpringBoardHost.h"

#include <memory>

namespace sim {
namespace {

// Settings as SpringBoard runs it: launched on its root list, its phone screen as its window.
struct SettingsInstance : SBAppInstance {
    SettingsApp& app;
    explicit SettingsInstance(SettingsApp& settings) : app(settings) { app.launch(); }
    id window() override { return app.screenWindow(); }
};

// The Clock app as SpringBoard runs it: a launch shows its list, read afresh.
struct ClockInstance : SBAppInstance {
    clockapp::ClockApp& app;
    explicit ClockInstance(clockapp::ClockApp& clock) : app(clock) {
        app.reset();
        app.reload();
    }
    id window() override { return app.window(); }
};

} // namespace

void installPhoneApps(SpringBoardApps& apps, SettingsApp& settings,
                      std::function<clockapp::ClockApp&()> clock) {
    SettingsApp* s = &settings;
    apps.install({kSettingsBundleIdentifier, "Settings", springboard::drawSettingsIcon,
                  [s](CGSize) { return std::make_unique<SettingsInstance>(*s); }});
    apps.install({kClockAppBundleIdentifier, "Clock", springboard::drawClockIcon,
                  [clock](CGSize) { return std::make_unique<ClockInstance>(clock()); }});
}

std::string alarmModelSignature(const SpringBoardHost& springBoard) {
    std::string out;
    for (const auto& a : springBoard.alarmBook().alarms()) {
        for (long n : {long(a.time.hour), long(a.time.minute), long(a.time.second), long(a.time.weekdays)})
            out += std::to_string(n) + ':';
        out += a.alarmId + '\x1f' + a.label + '\x1f' + (a.allowsSnooze ? 's' : '-') +
               (a.enabled ? 'e' : '-') + '\x1e';
    }
    return out;
}

} // namespace sim
