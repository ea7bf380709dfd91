#include "Scenario.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(ScenarioWords, QuotesHoldBlanksAndCommentsEndTheLine) {
    std::vector<std::string> w;
    std::string err;
    ASSERT_TRUE(splitWords(R"(settings tap "Disarm Now"  # the button)", w, err));
    EXPECT_EQ(w, (std::vector<std::string>{"settings", "tap", "Disarm Now"}));
    ASSERT_TRUE(splitWords(R"(settings type "Button Text:" "")", w, err));
    EXPECT_EQ(w, (std::vector<std::string>{"settings", "type", "Button Text:", ""}));
    EXPECT_FALSE(splitWords(R"(settings tap "Disarm)", w, err));
    EXPECT_EQ(err, "a quote is not closed");
}

TEST(ScenarioDurations, UnitsCombineAndSignsApply) {
    struct Case { const char* text; std::optional<double> seconds; };
    const Case cases[] = {
        {"30s", 30}, {"5m", 300}, {"1h30m", 5400}, {"2d", 172800}, {"-30m", -1800}, {"+2h", 7200},
        {"0.5s", 0.5}, {"", std::nullopt}, {"5", std::nullopt}, {"m", std::nullopt}, {"5x", std::nullopt},
        {"-", std::nullopt}, {"1h30", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDuration(c.text), c.seconds) << c.text;
}

TEST(ScenarioTimes, HoursMinutesAndOptionalSeconds) {
    EXPECT_EQ(parseTimeOfDay("09:30"), 9 * 3600 + 30 * 60);
    EXPECT_EQ(parseTimeOfDay("23:59:59"), 86399);
    for (const char* bad : {"24:00", "9:30", "09:60", "09:30:1", "09:30x", "ab:cd", ""})
        EXPECT_EQ(parseTimeOfDay(bad), std::nullopt) << bad;
}

TEST(ScenarioParse, SettingsLinesThenSteps) {
    Scenario s;
    auto err = parseScenario("# demo\nstart 2026-12-07 09:00\nlocale de_DE\ntimezone Europe/Berlin\n"
                             "languages de en\naddons libstatusbar flipswitch\n\nboot\nalarm 09:30 \"Wake up\" nosnooze\n"
                             "wait 5m\nexpect icon hidden\n",
                             "demo", s);
    ASSERT_FALSE(err) << err->message;
    EXPECT_EQ(s.settings.start, "2026-12-07 09:00:00");
    EXPECT_EQ(s.settings.locale, "de_DE");
    EXPECT_EQ(s.settings.timeZone, "Europe/Berlin");
    EXPECT_EQ(s.settings.languages, (std::vector<std::string>{"de", "en"}));
    EXPECT_EQ(s.settings.addons, (std::vector<std::string>{"libstatusbar", "flipswitch"}));
    ASSERT_EQ(s.steps.size(), 4u);
    EXPECT_EQ(s.steps[1].verb, "alarm");
    EXPECT_EQ(s.steps[1].args, (std::vector<std::string>{"09:30", "Wake up", "nosnooze"}));
    EXPECT_EQ(s.steps[1].line, 9);
}

TEST(ScenarioParse, BadLinesAreReportedWithTheirLineNumber) {
    struct Case { const char* text; int line; const char* message; };
    const Case cases[] = {
        {"boot\nfly away\n", 2, "unknown step \"fly\""},
        {"boot\nwait\n", 2, "usage: wait DURATION"},
        {"boot\nwait soon\n", 2, "the duration must be like 30s, 5m, 1h30m"},
        {"boot\nwait -5m\n", 2, "the duration must be like 30s, 5m, 1h30m"},
        {"boot\nlocale de_DE\n", 2, "\"locale\" must come before boot"},
        {"settings open\n", 1, "\"settings\" needs a booted device: put boot first"},
        {"addons libstatusbar teleport\n", 1, "an add-on must be one of libstatusbar8, libstatusbar, flipswitch, hushmarkfs, protean, not \"teleport\""},
        {"boot\nsettings switch Enabled maybe\n", 2, "a switch must be one of on, off, not \"maybe\""},
        {"boot\nexpect icon blinking\n", 2, "the icon must be one of shown, hidden, not \"blinking\""},
        {"file set enabled bool yes\n", 1, "a bool must be one of true, false, not \"yes\""},
        {"file set disarmedUntil date tomorrow\n", 1, "a date is an offset from now, like +30m or -1m"},
        {"boot\npicker drag 1 2 x 4\n", 2, "\"x\" is not a number"},
        {"boot\nalarm 25:00 Late\n", 2, "the time must be HH:MM or HH:MM:SS"},
        {"start 2026/12/07 09:00\n", 1, "the date must be YYYY-MM-DD"},
        {"boot\nsettings tap \"Disarm\n", 2, "a quote is not closed"},
    };
    for (const auto& c : cases) {
        Scenario s;
        auto err = parseScenario(c.text, "bad", s);
        ASSERT_TRUE(err) << c.text;
        EXPECT_EQ(err->line, c.line) << c.text;
        EXPECT_EQ(err->message, c.message) << c.text;
    }
}

} // namespace
} // namespace sim
