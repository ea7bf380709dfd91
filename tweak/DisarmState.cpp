#include "DisarmState.h"

#include "Outside.h"
#include "core/DisarmRules.h"
#include "foundation/NSLog.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "rules/SharedNames.h"

#include <cstdint>

namespace {

constexpr auto kDeferralNanoseconds = static_cast<std::int64_t>(kArmingDeferralSeconds * 1e9);

void invalidateDeadlineTimer(TweakState& state) {
    if (!state.deadlineTimer)
        return;
    msg(state.deadlineTimer, "invalidate");
    state.deadlineTimer = nullptr;
}

DisarmInputs inputsOf(const TweakState& state, bool fileRead) {
    const TweakSettings& s = state.settings;
    return {fileRead, s.enabled, s.enableIcon, s.disarmedUntil, NSDate::date(), state.launchSettled};
}

// Shows the icon when asked, before arming; hiding waits for the end, as the final icon rule.
void showIconIfAsked(TweakState& state, IconChange icon) {
    if (icon == IconChange::Show)
        setStatusIconVisible(state, true);
}
void hideIconIfAsked(TweakState& state, IconChange icon) {
    if (icon == IconChange::Hide)
        setStatusIconVisible(state, false);
}

// Arms for the shared clock data provider; logs `missingLine` when SpringBoard has none.
void armForClockDataProvider(TweakState& state, const char* missingLine) {
    id provider = state.clockDataProvider.object();
    if (!provider) {
        NSLog("%s", missingLine);
        return;
    }
    armDeadlineTimer(state, msg<id>(provider, "sharedInstance"));
}

// The first arming after load waits until SpringBoard has settled, and looks again then.
void deferredArming(TweakState& state) {
    DeferredDecision d = decideDeferredArming(inputsOf(state, true));
    showIconIfAsked(state, d.icon);
    if (d.arm)
        armForClockDataProvider(state, "[Hushmark] Error: Cannot set PCSimpleTimer Load 1");
    hideIconIfAsked(state, d.icon);
}

} // namespace

void reloadSettings(TweakState& state) {
    bool fileRead = readTweakSettings(state.settings, dictionaryWithContentsOfFile(kSettingsPath));
    applyDisarmState(state, fileRead);
}

void applyDisarmState(TweakState& state, bool fileRead) {
    // An unread file leaves the timer running: it still ends the disarm at the deadline.
    if (fileRead)
        invalidateDeadlineTimer(state);
    ReloadDecision d = decideReload(inputsOf(state, fileRead));
    showIconIfAsked(state, d.icon);
    if (d.armNow)
        armForClockDataProvider(state, "[Hushmark] Error: Cannot set PCSimpleTimer Load 2");
    if (d.deferArming) {
        state.launchSettled = true;
        dispatch_after_main(kDeferralNanoseconds, [&state] { deferredArming(state); });
    }
    hideIconIfAsked(state, d.icon);
}

void armDeadlineTimer(TweakState& state, const id& target) {
    invalidateDeadlineTimer(state);
    NSDate fireDate = state.settings.disarmedUntil.value_or(NSDate::date());
    id timer = msg<id>(state.simpleTimer.object(), "alloc");
    state.deadlineTimer =
        msg<id>(timer, "initWithFireDate:serviceIdentifier:target:selector:userInfo:", fireDate,
                std::string(kTimerServiceIdentifier), target, sel_registerName(kTimerSelector), id{});
    if (NSThreadIsMainThread()) {
        msg(state.deadlineTimer, "scheduleInRunLoop:", msg<id>(classNamed("NSRunLoop"), "mainRunLoop"));
        return;
    }
    // Timers live in the main run loop only; the block schedules whichever timer is held then.
    dispatch_async_main([&state] {
        msg(state.deadlineTimer, "scheduleInRunLoop:", msg<id>(classNamed("NSRunLoop"), "mainRunLoop"));
    });
}

void hushmarkTimerFired(TweakState& state, const id& receiver) {
    invalidateDeadlineTimer(state);
    switch (decideTimerFired(state.settings.disarmedUntil, NSDate::date(), state.toggleInstalled)) {
    case TimerFiredAction::SetToggleOff:
        setToggleState(state, false);
        break;
    case TimerFiredAction::SetToggleOn:
        setToggleState(state, true);
        break;
    case TimerFiredAction::HideIcon:
        setStatusIconVisible(state, false);
        break;
    case TimerFiredAction::Rearm:
        armDeadlineTimer(state, receiver);
        break;
    case TimerFiredAction::Expire:
        // The file keeps its past date, which every later reading finds reached.
        state.settings.disarmedUntil.reset();
        setStatusIconVisible(state, false);
        break;
    }
}

void disarmFromAlert(TweakState& state) {
    NSDate deadline = NSDate::date().dateByAddingTimeInterval(state.settings.disarmSeconds);
    state.settings.disarmedUntil = deadline;
    if (state.settings.enableIcon)
        setStatusIconVisible(state, true);
    armDeadlineTimer(state, msg<id>(state.clockDataProvider.object(), "sharedInstance"));
    state.settings.settingsCopy["disarmedUntil"] = deadline;
    // The tweak's own state is already up to date, so nothing is posted.
    writeToFile(state.settings.settingsCopy, kSettingsPath, true);
}

void disarmFromAlertButton(TweakState& state) {
    if (state.toggleInstalled)
        setToggleState(state, true);
    else
        disarmFromAlert(state);
}
