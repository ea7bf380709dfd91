// The step writer against the scenario reader: every line written reads back as the same step.
#include "Scenario.h"
#include "StepWriter.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

// The one step of a scenario made of `line` after boot.
Action parsedStep(const std::string& line) {
    Scenario s;
    auto e = parseScenario("boot\n" + line + "\n", "t", s);
    EXPECT_FALSE(e) << line << ": " << (e ? e->message : "");
    return s.steps.size() == 2 ? s.steps[1].action : Action(step::Boot{});
}

TEST(StepWriter, EachKindReadsBackAsTheSameStep) {
    struct Case {
        const char* read; // as a person may write it
        const char* written;
    };
    const Case cases[] = {
        {"boot", "boot"},
        {"respring", "respring"},
        {"lock", "lock"},
        {"unlock", "unlock"},
        {"alarm 07:00 \"Wake up\"", "alarm 07:00:00 \"Wake up\""},
        {"alarm 23:59:59 Late nosnooze daily", "alarm 23:59:59 Late nosnooze daily"},
        {"alarm 06:00 \"\" daily", "alarm 06:00:00 \"\" daily"},
        {"alarm remove 07:00 \"Wake up\"", "alarm remove 07:00:00 \"Wake up\""},
        {"wait 5m", "wait 300s"},
        {"wait 0.5s", "wait 0.5s"},
        {"wait 0s", "wait 0s"},
        {"until 08:30", "until 08:30:00"},
        {"jump -30m", "jump -1800s"},
        {"jump to 2026-12-08 06:30", "jump to 2026-12-08 06:30:00"},
        {"jump to 00:00:01", "jump to 00:00:01"},
        {"addon install flipswitch", "addon install flipswitch"},
        {"addon remove libstatusbar", "addon remove libstatusbar"},
        {"settings open", "settings open"},
        {"settings back", "settings back"},
        {"touch down springboard 160 402", "touch down springboard 160 402"},
        {"touch move settings 10.25 -3", "touch move settings 10.25 -3"},
        {"touch up settings 0.1 319.99", "touch up settings 0.1 319.99"},
        {"tap settings 60 141", "tap settings 60 141"},
        {"drag springboard 22 525 298 525", "drag springboard 22 525 298 525"},
        {"drag settings 1 2 3 4 60", "drag settings 1 2 3 4 60"},
        {"type 45", "type 45"},
        {"type \"a b\"", "type \"a b\""},
        {"type \" \"", "type \" \""},
        {"type \"#\"", "type \"#\""},
        {"type #FF", "type #FF"},
        {"type a\"b", "type a\"b"},
        {"type \"\"", "type \"\""},
        {"key return", "key return"},
        {"key backspace", "key backspace"},
        {"alert tap \"slide to stop\"", "alert tap \"slide to stop\""},
        {"alert tap Hushmark", "alert tap Hushmark"},
        {"home", "home"},
        {"switcher", "switcher"},
        {"open Clock", "open Clock"},
        {"touch down phone 160 402.5", "touch down phone 160 402.5"},
    };
    for (const Case& c : cases) {
        const WrittenStep first = writeStep(parsedStep(c.read));
        EXPECT_EQ(first.error, "") << c.read;
        EXPECT_EQ(first.line, c.written) << c.read;
        // Written again from what it reads back as: the same line, so nothing was lost.
        EXPECT_EQ(writeStep(parsedStep(first.line)).line, first.line) << c.read;
    }
}

// Values that have no short decimal form come back as the very same doubles.
TEST(StepWriter, NumbersReadBackExactly) {
    const double values[] = {1.0 / 60, 0.1 + 0.2, 123.456789012345, 1e-9, 299.99999999999994, 86399.999999};
    for (double v : values) {
        auto wait = std::get<step::Wait>(parsedStep(writeStep(step::Wait{v}).line));
        EXPECT_EQ(wait.seconds, v) << writeStep(step::Wait{v}).line;
        auto jump = std::get<step::Jump>(parsedStep(writeStep(step::Jump{-v}).line));
        EXPECT_EQ(jump.seconds, -v);
        if (v < 10000) {
            auto touch = std::get<step::Touch>(
                parsedStep(writeStep(step::Touch{TouchPhase::Move, Screen::Settings, {v, v / 3}}).line));
            EXPECT_EQ(touch.at.x, v);
            EXPECT_EQ(touch.at.y, v / 3);
        }
    }
}

// A word no line can hold is refused, not written as another word.
TEST(StepWriter, WordsALineCannotHoldAreRefused) {
    const step::Type refused[] = {{"\""}, {"say \"hi\""}, {"\"quoted"}, {"two\nlines"}, {"cr\r"}};
    for (const auto& t : refused) {
        WrittenStep w = writeStep(t);
        EXPECT_NE(w.error, "") << t.text;
        EXPECT_EQ(w.line, "") << t.text;
    }
    EXPECT_NE(writeStep(step::Alarm{60, "a \"b\""}).error, "");
    EXPECT_NE(writeStep(step::Snapshot{}).error, "");
}

TEST(StepWriter, SettingsLinesReadBack) {
    ScenarioSettings given;
    given.start = "2026-03-29 01:59:30";
    given.locale = "de_DE";
    given.timeZone = "Europe/Berlin";
    given.languages = {"de", "en"};
    given.screen = "375x667";
    given.addons = {"libstatusbar", "flipswitch"};
    given.springboardWithout = {"PCSimpleTimer"};
    given.timerSlack = 0.25;
    std::string text;
    for (const std::string& l : writeSettings(given))
        text += l + "\n";
    Scenario s;
    ASSERT_FALSE(parseScenario(text + "boot\n", "t", s)) << text;
    EXPECT_EQ(s.settings.start, given.start);
    EXPECT_EQ(s.settings.locale, given.locale);
    EXPECT_EQ(s.settings.timeZone, given.timeZone);
    EXPECT_EQ(s.settings.languages, given.languages);
    EXPECT_EQ(s.settings.screen, given.screen);
    EXPECT_EQ(s.settings.addons, given.addons);
    EXPECT_EQ(s.settings.springboardWithout, given.springboardWithout);
    EXPECT_EQ(s.settings.timerSlack, given.timerSlack);
    // Left out, the optional lines are not written.
    EXPECT_EQ(writeSettings(ScenarioSettings{}).size(), 4u);
}

} // namespace
} // namespace sim
