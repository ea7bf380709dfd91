// The modal alert SpringBoard shows for a bulletin while the device is in use. For an alarm,
// `configure:requirePasscodeForActions:` builds `_alertSheet` from `_bulletin`: a UIAlertView
// titled like the bulletin, Snooze at index 0 (when the alarm can snooze) and OK at index 1,
// with this alert as its delegate (an SBBulletinAlertSheet, which reports its going away). Button 1 stops the
// alarm, button 0 snoozes it nine minutes.
#pragma once

#include "objc/runtime.h"

#include <string>

inline constexpr const char* kSnoozeTitle = "Snooze";
inline constexpr const char* kOKTitle = "OK";

struct SBBulletinModalAlert : NSObject {
    id bulletin_;
    id alertSheet_;
    bool showing_ = false;

    void configureRequirePasscodeForActions(bool configure, bool requirePasscode);
    void alertViewClickedButtonAtIndex(id alertView, NSInteger index);
    // The sheet went away: records the dismissal once.
    void sheetWentAway();

    // SpringBoard's presentation: configure (through the message), then show the sheet.
    void present();
    bool isShowing() const { return showing_; }
    std::string eventDetail() const;

    static Ref<SBBulletinModalAlert> make(id bulletin);
};
