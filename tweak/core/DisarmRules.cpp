#include "core/DisarmRules.h"

#include "rules/DisarmTime.h"

namespace {
bool stillAhead(NSDate now, NSDate deadline) {
    return deadlineStillAhead(now.timeIntervalSinceReferenceDate, deadline.timeIntervalSinceReferenceDate);
}
} // namespace

ReloadDecision decideReload(const DisarmInputs& in) {
    ReloadDecision d;
    if (in.fileRead) {
        if (in.enabled && in.disarmedUntil && stillAhead(in.now, *in.disarmedUntil)) {
            if (in.launchSettled) {
                d.armNow = true;
                if (in.enableIcon)
                    d.icon = IconChange::Show;
            } else {
                d.deferArming = true; // the icon keeps its state until the deferred arming
            }
        } else {
            d.icon = IconChange::Hide;
        }
    }
    // The final icon rule, which also holds after an unreadable file.
    if (!in.enableIcon || !in.enabled || !in.fileRead)
        d.icon = IconChange::Hide;
    return d;
}

DeferredDecision decideDeferredArming(const DisarmInputs& in) {
    DeferredDecision d;
    if (!in.enabled || !in.disarmedUntil) {
        d.icon = IconChange::Hide;
        return d;
    }
    // The look-ahead is not taken again: a deadline that stands is armed for, even one that has
    // come within 15 seconds meanwhile; its timer then fires at once and ends the disarm.
    d.arm = true;
    if (in.enableIcon)
        d.icon = IconChange::Show;
    return d;
}

TimerFiredAction decideTimerFired(std::optional<NSDate> disarmedUntil, NSDate now, bool toggleInstalled) {
    if (!disarmedUntil)
        return toggleInstalled ? TimerFiredAction::SetToggleOff : TimerFiredAction::HideIcon;
    if (stillAhead(now, *disarmedUntil))
        return toggleInstalled ? TimerFiredAction::SetToggleOn : TimerFiredAction::Rearm;
    return toggleInstalled ? TimerFiredAction::SetToggleOff : TimerFiredAction::Expire;
}
