#include "core/AlertRules.h"

namespace {
constexpr std::string_view kClockSection = "com.apple.mobiletimer";
constexpr long kAlarmSubtype = 1;
} // namespace

bool isAlarmBulletin(std::string_view sectionID, long sectionSubtype) {
    return sectionID == kClockSection && sectionSubtype == kAlarmSubtype;
}

ModalClick decideModalClick(long alertTag, long buttonIndex) {
    if (alertTag != kAlertTagPlain || buttonIndex != kDisarmClickIndex)
        return {buttonIndex, false};
    return {kStopButtonIndex, true};
}

LockAlertLayout lockAlertLayout(bool canSnooze) {
    return {canSnooze, canSnooze ? kAlertTagSnooze : kAlertTagPlain};
}

bool isLockAlertTag(long alertTag) {
    return alertTag == kAlertTagSnooze || alertTag == kAlertTagPlain;
}

FullscreenAction lockAlertDismissalAction(long alertTag, long buttonIndex) {
    if (!isLockAlertTag(alertTag))
        return FullscreenAction::None;
    if (buttonIndex == 1)
        return FullscreenAction::Dismiss;
    if (buttonIndex == 0)
        return alertTag == kAlertTagSnooze ? FullscreenAction::Alternate : FullscreenAction::Dismiss;
    return FullscreenAction::None;
}
