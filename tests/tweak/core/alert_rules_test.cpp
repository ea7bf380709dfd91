#include "core/AlertRules.h"

#include <gtest/gtest.h>

namespace {

TEST(AlarmBulletin, OnlyTheClockSectionWithSubtypeOne) {
    EXPECT_TRUE(isAlarmBulletin("com.apple.mobiletimer", 1));
    EXPECT_FALSE(isAlarmBulletin("com.apple.mobiletimer", 0));
    EXPECT_FALSE(isAlarmBulletin("com.apple.mobiletimer", 2));
    EXPECT_FALSE(isAlarmBulletin("com.apple.MobileSMS", 1));
    EXPECT_FALSE(isAlarmBulletin("", 1));
}

TEST(ModalClick, OnlyTheDisarmClickOnATaggedSheetIsTurnedIntoStopAndDisarm) {
    struct Case {
        long tag, index, forward;
        bool disarm;
    };
    for (Case c : {Case{2627, 2, 1, true}, Case{2627, 1, 1, false}, Case{2627, 0, 0, false},
                   Case{2626, 2, 2, false}, Case{0, 2, 2, false}}) {
        ModalClick got = decideModalClick(c.tag, c.index);
        EXPECT_EQ(got.forwardIndex, c.forward) << c.tag << "/" << c.index;
        EXPECT_EQ(got.disarm, c.disarm) << c.tag << "/" << c.index;
    }
}

TEST(LockAlert, ButtonsAndTagFollowWhetherTheAlarmCanSnooze) {
    LockAlertLayout snooze = lockAlertLayout(true);
    EXPECT_TRUE(snooze.snoozeButton);
    EXPECT_EQ(snooze.tag, 2626);
    LockAlertLayout plain = lockAlertLayout(false);
    EXPECT_FALSE(plain.snoozeButton);
    EXPECT_EQ(plain.tag, 2627);
}

TEST(LockAlert, DismissalActionTable) {
    struct Case {
        long tag, index;
        FullscreenAction action;
    };
    using A = FullscreenAction;
    for (Case c : {Case{2626, 0, A::Alternate}, Case{2626, 1, A::Dismiss}, Case{2627, 0, A::Dismiss},
                   Case{2627, 1, A::Dismiss}, Case{2626, 2, A::None}, Case{2627, -1, A::None},
                   Case{2625, 0, A::None}, Case{0, 1, A::None}}) {
        EXPECT_EQ(lockAlertDismissalAction(c.tag, c.index), c.action) << c.tag << "/" << c.index;
    }
}

} // namespace
