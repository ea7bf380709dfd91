// The fullscreen alarm on the lock screen: its stop action (`performDismissAction`) and its
// snooze action (`performAlternateAction`, nine minutes; a stop when the alarm cannot snooze).
// Either ends the fullscreen alert through the lock screen's
// `_dismissFullscreenBulletinAlertAnimated:` when it is still the one shown.
#pragma once

#include "objc/runtime.h"

struct SBLockScreenFullscreenBulletinViewController : NSObject {
    id item_;
    weak_id lockScreen_;

    id item() const { return item_; }
    void performDismissAction();
    void performAlternateAction();

    static Ref<SBLockScreenFullscreenBulletinViewController> make(id item, const id& lockScreen);

  private:
    void dismissFromLockScreen();
};
