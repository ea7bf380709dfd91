// The lock screen. `presentFullscreenBulletinAlertWithItem:` shows a ringing alarm full screen
// through a fullscreen bulletin controller held in `_fullscreenBulletinController`; every way
// the fullscreen alarm goes away passes through `_dismissFullscreenBulletinAlertAnimated:`.
#pragma once

#include "objc/runtime.h"

#include <string>

struct SBLockScreenViewController : NSObject {
    id fullscreenBulletinController_;
    std::string shownDetail_; // the event detail of the fullscreen alert on screen

    void presentFullscreenBulletinAlertWithItem(id item);
    void dismissFullscreenBulletinAlertAnimated(bool animated);
    bool isShowingFullscreenBulletin() const { return fullscreenBulletinController_ != nullptr; }
};
