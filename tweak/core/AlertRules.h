// The rules of the alarm alerts: which bulletin is an alarm, what a click on the modal alert's
// sheet forwards, the lock-screen alert's buttons and what its dismissal asks of SpringBoard.
#pragma once

#include <string_view>

inline constexpr long kAlertTagSnooze = 2626; // lock-screen alert with a Snooze button
inline constexpr long kAlertTagPlain = 2627;  // modal alert's sheet; lock-screen alert without Snooze
inline constexpr long kStopButtonIndex = 1;   // SpringBoard's button that stops the ringing alarm
inline constexpr long kDisarmClickIndex = 2;  // the extra button's click on the modal sheet

// A Clock alarm: section "com.apple.mobiletimer", subtype 1.
bool isAlarmBulletin(std::string_view sectionID, long sectionSubtype);

// A click on the modal alert's sheet: the index SpringBoard's own handling receives, and
// whether the click also disarms.
struct ModalClick {
    long forwardIndex;
    bool disarm;
};
ModalClick decideModalClick(long alertTag, long buttonIndex);

// The lock-screen alert: a Snooze button first when the alarm can snooze, then OK (the first
// button is the cancel button); the tag goes on between the two.
struct LockAlertLayout {
    bool snoozeButton;
    long tag;
};
LockAlertLayout lockAlertLayout(bool canSnooze);

// What the lock-screen alert's dismissal with a button asks of the fullscreen alarm.
enum class FullscreenAction { None, Dismiss, Alternate };
FullscreenAction lockAlertDismissalAction(long alertTag, long buttonIndex);

// Whether a dismissal of an alert with this tag is forwarded at all.
bool isLockAlertTag(long alertTag);
