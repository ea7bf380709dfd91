#include "LockScreenAlert.h"

#include "AlarmBulletin.h"
#include "AlertButton.h"
#include "DisarmState.h"
#include "Outside.h"
#include "core/alert_rules.h"
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
    if (state.lockAlertShowing && state.lockAlert) dismissLockAlert(state);
    state.lockAlertShowing = true;

    id alert = msg<id>(msg<id>(classNamed("UIAlertView"), "alloc"),
                       "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:",
                       msg<std::string>(item, "title"), std::string(), controller->self(), std::string(),
                       std::vector<std::string>{});
    state.lockAlert = alert;
    LockAlertLayout layout = lockAlertLayout(msg<bool>(item, "canSnooze"));
    for (LockAlertTitle title : layout.buttons)
        msg<NSInteger>(alert, "addButtonWithTitle:", title == LockAlertTitle::Snooze ? state.snoozeTitle : state.okTitle);
    msg(alert, "setTag:", NSInteger{layout.tag});
    msg(alert, "setCancelButtonIndex:", NSInteger{0});
    addButtonContainer(state, alert, controller->self());
    msg(alert, "show");

    // SpringBoard may take its previous fullscreen alarm down while presenting this one; that
    // dismissal belongs to the old alarm and must not take the new alert with it.
    state.presentingLockAlarm = true;
    callImp(state.previous.presentFullscreenBulletinAlertWithItem, controller, item);
    state.presentingLockAlarm = false;
}

void lockAlertDidDismissWithButtonIndex(TweakState& state, Object* controller, const id& alertView,
                                        NSInteger index) {
    state.lockAlertShowing = false;
    if (!isLockAlertTag(msg<NSInteger>(alertView, "tag"))) return;
    // The block keeps the controller and the alert; it acts on whatever fullscreen controller
    // the lock screen holds when it runs.
    dispatch_after_main(kForwardNanoseconds, [receiver = controller->self(), alertView, index] {
        id fullscreen = instanceVariable(receiver.get(), "_fullscreenBulletinController");
        switch (lockAlertDismissalAction(msg<NSInteger>(alertView, "tag"), index)) {
        case FullscreenAction::Dismiss: msg(fullscreen, "performDismissAction"); break;
        case FullscreenAction::Alternate: msg(fullscreen, "performAlternateAction"); break;
        case FullscreenAction::None: break;
        }
    });
}

void lockScreenDismissFullscreenAlert(TweakState& state, Object* controller, bool animated) {
    callImp(state.previous.dismissFullscreenBulletinAlertAnimated, controller, animated);
    if (state.presentingLockAlarm) return;
    if (state.lockAlertShowing && state.lockAlert) dismissLockAlert(state);
}

void lockScreenButtonClicked(TweakState& state, Object* controller) {
    msg(instanceVariable(controller, "_fullscreenBulletinController"), "performDismissAction");
    disarmFromAlertButton(state);
    dismissLockAlert(state);
}
