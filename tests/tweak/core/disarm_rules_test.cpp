#include "core/DisarmRules.h"

#include <gtest/gtest.h>

namespace {

const NSDate kNow{1000.0};
NSDate at(double seconds) {
    return kNow.dateByAddingTimeInterval(seconds);
}

struct ReloadCase {
    const char* name;
    DisarmInputs in;
    IconChange icon;
    bool armNow;
    bool defer;
};
void PrintTo(const ReloadCase& c, std::ostream* os) {
    *os << '"' << c.name << '"';
}

class Reload : public testing::TestWithParam<ReloadCase> {};

TEST_P(Reload, DecidesTimerAndIcon) {
    const ReloadCase& c = GetParam();
    ReloadDecision d = decideReload(c.in);
    EXPECT_EQ(d.icon, c.icon);
    EXPECT_EQ(d.armNow, c.armNow);
    EXPECT_EQ(d.deferArming, c.defer);
}

// Inputs: fileRead, enabled, enableIcon, disarmedUntil, now, launchSettled.
INSTANTIATE_TEST_SUITE_P(
    Cases, Reload,
    testing::Values(
        ReloadCase{"AheadSettled", {true, true, true, at(20), kNow, true}, IconChange::Show, true, false},
        ReloadCase{
            "AheadSettledNoIcon", {true, true, false, at(20), kNow, true}, IconChange::Hide, true, false},
        ReloadCase{"AheadNotSettled", {true, true, true, at(20), kNow, false}, IconChange::Keep, false, true},
        ReloadCase{
            "AheadNotSettledNoIcon", {true, true, false, at(20), kNow, false}, IconChange::Hide, false, true},
        ReloadCase{"TenSecondsAhead", {true, true, true, at(10), kNow, true}, IconChange::Hide, false, false},
        ReloadCase{
            "FifteenSecondsAhead", {true, true, true, at(15), kNow, true}, IconChange::Hide, false, false},
        ReloadCase{"Past", {true, true, true, at(-1), kNow, false}, IconChange::Hide, false, false},
        ReloadCase{
            "NoDeadline", {true, true, true, std::nullopt, kNow, true}, IconChange::Hide, false, false},
        ReloadCase{"Disabled", {true, false, true, at(600), kNow, true}, IconChange::Hide, false, false},
        ReloadCase{"Unreadable", {false, false, true, at(600), kNow, true}, IconChange::Hide, false, false}),
    [](const testing::TestParamInfo<ReloadCase>& info) { return info.param.name; });

struct DeferredCase {
    const char* name;
    bool enabled;
    bool enableIcon;
    std::optional<NSDate> until;
    bool arm;
    IconChange icon;
};

TEST(DeferredArming, LooksAgainOnlyForTheTweakTurnedOffOrTheDeadlineCleared) {
    const DeferredCase cases[] = {
        {"ahead", true, true, at(20), true, IconChange::Show},
        {"ahead, icon off", true, false, at(20), true, IconChange::Keep},
        // The look-ahead is not taken again: a standing deadline is armed for, however near.
        {"now within 15 s", true, true, at(15), true, IconChange::Show},
        {"passed meanwhile", true, true, at(-5), true, IconChange::Show},
        {"turned off", false, true, at(20), false, IconChange::Hide},
        {"cleared", true, true, std::nullopt, false, IconChange::Hide},
        {"cleared, icon off", true, false, std::nullopt, false, IconChange::Hide},
    };
    for (const DeferredCase& c : cases) {
        const DeferredDecision d = decideDeferredArming({true, c.enabled, c.enableIcon, c.until, kNow, true});
        EXPECT_EQ(d.arm, c.arm) << c.name;
        EXPECT_EQ(d.icon, c.icon) << c.name;
    }
}

TEST(TimerFired, EarlyReachedOrClearedWithAndWithoutToggle) {
    EXPECT_EQ(decideTimerFired(std::nullopt, kNow, false), TimerFiredAction::HideIcon);
    EXPECT_EQ(decideTimerFired(std::nullopt, kNow, true), TimerFiredAction::SetToggleOff);
    EXPECT_EQ(decideTimerFired(at(60), kNow, false), TimerFiredAction::Rearm);
    EXPECT_EQ(decideTimerFired(at(60), kNow, true), TimerFiredAction::SetToggleOn);
    EXPECT_EQ(decideTimerFired(at(15), kNow, false), TimerFiredAction::Expire);
    EXPECT_EQ(decideTimerFired(kNow, kNow, false), TimerFiredAction::Expire);
    EXPECT_EQ(decideTimerFired(at(-3), kNow, true), TimerFiredAction::SetToggleOff);
}

} // namespace
