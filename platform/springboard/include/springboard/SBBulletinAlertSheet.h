// The sheet of a modal bulletin alert: a UIAlertView that tells its modal alert when it goes
// away, whichever way (a tap, `dismissWithClickedButtonIndex:animated:`, or a plain `dismiss`,
// which UIAlertView keeps from its delegate), so SpringBoard knows the alert is gone.
#pragma once

#include "uikit/UIAlertView.h"

struct SBBulletinAlertSheet : UIAlertView {
    weak_id modalAlert_;

    void dismissSheet();
    void dismissSheetWithClickedButtonIndexAnimated(NSInteger index, bool animated);

    // A new, uninitialized sheet reporting to `modalAlert`.
    static Ref<SBBulletinAlertSheet> allocReportingTo(const id& modalAlert);

  private:
    void reportIfGone();
};
