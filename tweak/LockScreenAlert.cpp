#include "LockScreenAlert.h"

#include "AlarmBulletin.h"
#include "AlertButton.h"
#include "DisarmState.h"
#include "Outside.h"
#include "core/AlertRules.h"
#include "foundation/RunLoop.h"

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kForwardNanoseconds = 100'000'000;

// Takes the showing alert down and lets it go.
void dismissLockAlert(TweakState& state) {
    state.lockAlertShowing = false;
    id alert = std::move(state.lockAlert);
    state.lockAlert = nullptr;
    msg(alert, "dismiss");
}

bool isAlarmItem(TweakState& state, const id& item) {
    return isKindOfClass(item, state.awayBulletinListItem.get()) && isAlarm(msg<id>(item, "activeBulletin"));
}

} // namespace

void lockScreenPresentAlarm(TweakState& state, Object* controller, const id& item) {
    const TweakSettings& s = state.settings;
    if (!s.enabled || !s.enableAlertButtons || !isAlarmItem(state, item)) {
        callImp(state.previous.presentFullscreenBulletinAlertWithItem, controller, item);
        return;
    }
    // A previous alert still showing would forward its buttons to this alarm: take it down first.
    if (state.lockAlertShowing && state.lockAlert)
        dismissLockAlert(state);
    state.lockAlertShowing = true;

    id alert = msg<id>(msg<id>(classNamed("UIAlertView"), "alloc"),
                       "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:",
                       msg<std::string>(item, "title"), std::string(), controller->self(), std::string(),
                       std::vector<std::string>{});
    state.lockAlert = alert;
    const LockAlertLayout layout = lockAlertLayout(msg<bool>(item, "canSnooze"));
    if (layout.snoozeButton)
        msg<NSInteger>(alert, "addButtonWithTitle:", state.snoozeTitle);
    msg(alert, "setTag:", NSInteger{layout.tag});
    msg<NSInteger>(alert, "addButtonWithTitle:", state.okTitle);
    msg(alert, "setCancelButtonIndex:", NSInteger{0});
    addButtonContainer(state, alert, controller->self());
    msg(alert, "show");

    // The lock-screen guard: SpringBoard takes the previous fullscreen alarm down from inside
    // this very presentation, through `_dismissFullscreenBulletinAlertAnimated:`. That dismissal
    // belongs to the old alarm, but by now `lockAlert` is the new alert and shows, so the
    // dismissal replacement would take it down and the new alarm would ring without it. While
    // the flag is set, that replacement leaves the tweak's alert alone (a previous alert still
    // showing was taken down above, before the new one was made).
    state.presentingLockAlarm = true;
    callImp(state.previous.presentFullscreenBulletinAlertWithItem, controller, item);
    state.presentingLockAlarm = false;
}

void lockAlertDidDismissWithButtonIndex(TweakState& state, Object* controller, const id& alertView,
                                        NSInteger index) {
    state.lockAlertShowing = false;
    if (!isLockAlertTag(msg<NSInteger>(alertView, "tag")))
        return;
    // The block keeps the controller and the alert; it acts on whatever fullscreen controller
    // the lock screen holds when it runs.
    dispatch_after_main(kForwardNanoseconds, [receiver = controller->self(), alertView, index] {
        id fullscreen = instanceVariable(receiver.get(), "_fullscreenBulletinController");
        switch (lockAlertDismissalAction(msg<NSInteger>(alertView, "tag"), index)) {
        case FullscreenAction::Dismiss:
            msg(fullscreen, "performDismissAction");
            break;
        case FullscreenAction::Alternate:
            msg(fullscreen, "performAlternateAction");
            break;
        case FullscreenAction::None:
            break;
        }
    });
}

void lockScreenDismissFullscreenAlert(TweakState& state, Object* controller, bool animated) {
    callImp(state.previous.dismissFullscreenBulletinAlertAnimated, controller, animated);
    if (state.presentingLockAlarm)
        return; // the lock-screen guard: see lockScreenPresentAlarm
    if (state.lockAlertShowing && state.lockAlert)
        dismissLockAlert(state);
}

void lockScreenButtonClicked(TweakState& state, Object* controller) {
    msg(instanceVariable(controller, "_fullscreenBulletinController"), "performDismissAction");
    disarmFromAlertButton(state);
    dismissLockAlert(state);
}
