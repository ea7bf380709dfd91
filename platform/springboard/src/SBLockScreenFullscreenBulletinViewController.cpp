#include "springboard/SBLockScreenFullscreenBulletinViewController.h"

#include "springboard/AlarmActions.h"
#include "springboard/BBBulletin.h"
#include "springboard/SBLockScreenViewController.h"

namespace {
const ClassDef<SBLockScreenFullscreenBulletinViewController> kController(
    "SBLockScreenFullscreenBulletinViewController", "NSObject",
    {
        method("item", &SBLockScreenFullscreenBulletinViewController::item),
        method("performDismissAction", &SBLockScreenFullscreenBulletinViewController::performDismissAction),
        method("performAlternateAction",
               &SBLockScreenFullscreenBulletinViewController::performAlternateAction),
    });

std::string alarmIdOf(const id& item) {
    auto bulletin = cast<BBBulletin>(msg<id>(item, "activeBulletin"));
    return bulletin && bulletin->isAlarm() ? bulletin->bulletinID_ : std::string();
}
} // namespace

void SBLockScreenFullscreenBulletinViewController::performDismissAction() {
    const std::string alarmId = alarmIdOf(item_);
    if (AlarmActions* actions = AlarmActions::current(); actions && !alarmId.empty())
        actions->stopAlarm(alarmId);
    dismissFromLockScreen();
}

void SBLockScreenFullscreenBulletinViewController::performAlternateAction() {
    const std::string alarmId = alarmIdOf(item_);
    if (AlarmActions* actions = AlarmActions::current(); actions && !alarmId.empty()) {
        if (msg<bool>(item_, "canSnooze"))
            actions->snoozeAlarm(alarmId);
        else
            actions->stopAlarm(alarmId);
    }
    dismissFromLockScreen();
}

void SBLockScreenFullscreenBulletinViewController::dismissFromLockScreen() {
    auto lockScreen = cast<SBLockScreenViewController>(lockScreen_.lock());
    // Only the alert on screen is taken down: a stale controller acts on its own alarm alone.
    if (!lockScreen || lockScreen->fullscreenBulletinController_.get() != this)
        return;
    id keepSelf = self(); // the lock screen lets go of this controller while dismissing
    msg(lockScreen, "_dismissFullscreenBulletinAlertAnimated:", true);
}

Ref<SBLockScreenFullscreenBulletinViewController>
SBLockScreenFullscreenBulletinViewController::make(id item, const id& lockScreen) {
    auto c = alloc<SBLockScreenFullscreenBulletinViewController>();
    c->item_ = std::move(item);
    c->lockScreen_ = lockScreen;
    return c;
}
