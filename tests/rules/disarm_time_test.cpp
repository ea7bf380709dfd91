// Minutes to seconds in 32 bits, and the 15-second margin that makes a near deadline reached.
#include "rules/DisarmTime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(DisarmSeconds, MinutesTimes60WrapLikeThe32BitDevice) {
    const struct {
        std::int32_t minutes, seconds;
    } cases[] = {
        {60, 3600},
        {0, 0},
        {-5, -300},
        {35791394, 2147483640},  // the largest that fits
        {35791395, -2147483596}, // one more wraps to the negative
        {INT32_MIN, 0},
        {INT32_MAX, -60},
    };
    for (const auto& c : cases)
        EXPECT_EQ(disarmSecondsForMinutes(c.minutes), c.seconds) << c.minutes;
    static_assert(disarmSecondsForMinutes(1) == 60);
    EXPECT_EQ(kDefaultDisarmSeconds, 3600);
}

TEST(DeadlineMargin, ADeadline15SecondsAwayOrNearerIsReached) {
    const double now = 800000000.0;
    const struct {
        double fromNow;
        bool ahead;
    } cases[] = {
        {-60, false},   {0, false}, {10, false},
        {15, false}, // now + 15 s is the same instant, not an earlier one
        {15.001, true}, {20, true}, {3600, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deadlineStillAhead(now, now + c.fromNow), c.ahead) << c.fromNow;
}

} // namespace
