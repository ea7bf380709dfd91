#include "core/Suppression.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const NSDate kSuppressionNow{5000.0};
NSDate atOffset(double seconds) {
    return kSuppressionNow.dateByAddingTimeInterval(seconds);
}

struct SuppressionCase {
    const char* name;
    bool enabled;
    std::optional<NSDate> until;
    bool alarm;
    bool concrete;
    bool drop;
    const char* asked; // the questions asked, in order: a = alarm, c = concrete class
};
void PrintTo(const SuppressionCase& c, std::ostream* os) {
    *os << '"' << c.name << '"';
}

class Suppression : public testing::TestWithParam<SuppressionCase> {};

TEST_P(Suppression, DropsOnlyAlarmsInsideTheDisarmTimeAskingOnlyWhatItNeeds) {
    const SuppressionCase& c = GetParam();
    std::string asked;
    bool drop = shouldDropNotification(
        c.enabled, c.until, kSuppressionNow,
        [&] {
            asked += 'a';
            return c.alarm;
        },
        [&] {
            asked += 'c';
            return c.concrete;
        });
    EXPECT_EQ(drop, c.drop);
    EXPECT_EQ(asked, c.asked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Suppression,
    testing::Values(SuppressionCase{"AlarmMinuteBeforeDeadline", true, atOffset(60), true, true, true, "ac"},
                    SuppressionCase{"AlarmTenSecondsBeforeDeadline", true, atOffset(10), true, true, true,
                                    "ac"},
                    SuppressionCase{"AlarmAtDeadline", true, kSuppressionNow, true, true, false, "ac"},
                    SuppressionCase{"AlarmAfterDeadline", true, atOffset(-1), true, true, false, "ac"},
                    SuppressionCase{"Disabled", false, atOffset(60), true, true, false, ""},
                    SuppressionCase{"NoDeadline", true, std::nullopt, true, true, false, ""},
                    SuppressionCase{"NotAnAlarm", true, atOffset(60), false, true, false, "a"},
                    SuppressionCase{"AlarmOfAnotherClass", true, atOffset(60), true, false, false, "ac"}),
    [](const testing::TestParamInfo<SuppressionCase>& info) { return info.param.name; });

} // namespace
