#include "core/Suppression.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const NSDate kNow{5000.0};
NSDate at(double seconds) {
    return kNow.dateByAddingTimeInterval(seconds);
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
        c.enabled, c.until, kNow,
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
    testing::Values(SuppressionCase{"AlarmMinuteBeforeDeadline", true, at(60), true, true, true, "ac"},
                    SuppressionCase{"AlarmTenSecondsBeforeDeadline", true, at(10), true, true, true, "ac"},
                    SuppressionCase{"AlarmAtDeadline", true, kNow, true, true, false, "ac"},
                    SuppressionCase{"AlarmAfterDeadline", true, at(-1), true, true, false, "ac"},
                    SuppressionCase{"Disabled", false, at(60), true, true, false, ""},
                    SuppressionCase{"NoDeadline", true, std::nullopt, true, true, false, ""},
                    SuppressionCase{"NotAnAlarm", true, at(60), false, true, false, "a"},
                    SuppressionCase{"AlarmOfAnotherClass", true, at(60), true, false, false, "ac"}),
    [](const testing::TestParamInfo<SuppressionCase>& info) { return info.param.name; });

} // namespace
