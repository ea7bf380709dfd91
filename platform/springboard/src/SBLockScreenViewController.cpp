#include "springboard/SBLockScreenViewController.h"

#include "foundation/DeviceEvents.h"
#include "springboard/SBLockScreenFullscreenBulletinViewController.h"
#include "springboard/SpringBoardEvents.h"

namespace {
const ClassDef<SBLockScreenViewController> kSBLockScreenViewController(
    "SBLockScreenViewController", "NSObject",
    {
        method("presentFullscreenBulletinAlertWithItem:",
               &SBLockScreenViewController::presentFullscreenBulletinAlertWithItem),
        method("_dismissFullscreenBulletinAlertAnimated:",
               &SBLockScreenViewController::dismissFullscreenBulletinAlertAnimated),
        method("isShowingFullscreenBulletin", &SBLockScreenViewController::isShowingFullscreenBulletin),
        ivar("_fullscreenBulletinController", &SBLockScreenViewController::fullscreenBulletinController_),
    });
} // namespace

void SBLockScreenViewController::presentFullscreenBulletinAlertWithItem(id item) {
    if (!item)
        return;
    // A newer alarm takes the place of the one on screen, which goes away first.
    if (fullscreenBulletinController_)
        msg(self(), "_dismissFullscreenBulletinAlertAnimated:", false);
    fullscreenBulletinController_ = SBLockScreenFullscreenBulletinViewController::make(item, self());
    shownDetail_ = "lock screen " + msg<std::string>(item, "title");
    DeviceEvents::record(sbevent::kAlertShown, shownDetail_);
}

void SBLockScreenViewController::dismissFullscreenBulletinAlertAnimated(bool) {
    if (!fullscreenBulletinController_)
        return;
    fullscreenBulletinController_.reset();
    DeviceEvents::record(sbevent::kAlertDismissed, shownDetail_);
}
