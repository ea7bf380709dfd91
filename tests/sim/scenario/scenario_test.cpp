#include "Scenario.h"
#include "words/Words.h"

#include <cstdint>
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
    ASSERT_TRUE(splitWords("expect view Hushmark background #FF0000 # red", w, err));
    EXPECT_EQ(w, (std::vector<std::string>{"expect", "view", "Hushmark", "background", "#FF0000"}));
    ASSERT_TRUE(splitWords("#comment", w, err));
    EXPECT_TRUE(w.empty());
    EXPECT_FALSE(splitWords(R"(settings tap "Disarm)", w, err));
    EXPECT_EQ(err, "a quote is not closed");
}

TEST(ScenarioDurations, UnitsCombineSignsApplyAndSizeIsBounded) {
    struct Case {
        const char* text;
        std::optional<double> seconds;
    };
    const Case cases[] = {
        {"30s", 30},
        {"5m", 300},
        {"1h30m", 5400},
        {"2d", 172800},
        {"-30m", -1800},
        {"+2h", 7200},
        {"0.5s", 0.5},
        {".5m", 30},
        {"", std::nullopt},
        {"5", std::nullopt},
        {"m", std::nullopt},
        {"5x", std::nullopt},
        {"-", std::nullopt},
        {"1h30", std::nullopt},
        {"1.2.3s", std::nullopt},
        // Nothing that would wrap the clock or overflow: 100 years at most.
        {"36500d", 36500 * 86400.0},
        {"36525d", 36525 * 86400.0},
        {"36526d", std::nullopt},
        {"100000d", std::nullopt},
        {"87777777777777777777s", std::nullopt},
        {"-36526d", std::nullopt},
        {"1e5s", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDuration(c.text), c.seconds) << c.text;
}

TEST(ScenarioTimes, HoursMinutesAndSecondsKept) {
    EXPECT_EQ(parseTimeOfDay("09:30"), 9 * 3600 + 30 * 60);
    EXPECT_EQ(parseTimeOfDay("07:10:10"), 7 * 3600 + 10 * 60 + 10);
    EXPECT_EQ(parseTimeOfDay("23:59:59"), 86399);
    for (const char* bad : {"24:00", "9:30", "09:60", "09:30:1", "09:30x", "ab:cd", "", "-1:30", "09:-1",
                            "+9:30", "09:30:60", "09:30:+1"})
        EXPECT_EQ(parseTimeOfDay(bad), std::nullopt) << bad;
}

TEST(ScenarioNumbers, IntegersAreWholeAndFit) {
    struct Case {
        const char* text;
        long long min, max;
        std::optional<long long> value;
    };
    const Case cases[] = {
        {"5", 0, 10, 5},
        {"-3", -5, 5, -3},
        {"+4", 0, 9, 4},
        {"007", 0, 9, 7},
        {"9223372036854775807", INT64_MIN, INT64_MAX, INT64_MAX},
        {"99999999999999999999", INT64_MIN, INT64_MAX, std::nullopt},
        {".5", 0, 9, std::nullopt},
        {"1e30", 0, 999, std::nullopt},
        {"1.0", 0, 9, std::nullopt},
        {"11", 0, 10, std::nullopt},
        {"-1", 0, 10, std::nullopt},
        {"", 0, 9, std::nullopt},
        {"0x10", 0, 99, std::nullopt},
        {" 5", 0, 9, std::nullopt},
        {"+", 0, 9, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInteger(c.text, c.min, c.max), c.value) << c.text;
}

TEST(ScenarioNumbers, RealsAreFiniteDecimals) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"12", 12},
        {"-0.5", -0.5},
        {".5", 0.5},
        {"1e3", 1000},
        {"2.5E-1", 0.25},
        {"+3", 3},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x1p3", std::nullopt},
        {"1e", std::nullopt},
        {"1e400", std::nullopt},
        {".", std::nullopt},
        {"1,5", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseReal(c.text, 1e300), c.value) << c.text;
    EXPECT_EQ(parseCoordinate("10000"), 10000);
    EXPECT_EQ(parseCoordinate("-10000.5"), std::nullopt);
}

TEST(ScenarioDates, OnlyRealCalendarDays) {
    EXPECT_TRUE(parseCalendarDay("2028-02-29"));
    EXPECT_TRUE(parseCalendarDay("2000-02-29"));
    EXPECT_TRUE(parseCalendarDay("9999-12-31"));
    for (const char* bad : {"2026-02-30", "2026-02-29", "1900-02-29", "2026-13-01", "2026-04-31",
                            "0000-01-01", "2026-1-01", "2026/12/07", "20261207xx"})
        EXPECT_FALSE(parseCalendarDay(bad)) << bad;
}

TEST(ScenarioColors, HexAndNames) {
    EXPECT_EQ(parseColor("#ff0000"), "#FF0000FF");
    EXPECT_EQ(parseColor("#1E90FF80"), "#1E90FF80");
    EXPECT_EQ(parseColor("white"), "#FFFFFFFF");
    EXPECT_EQ(parseColor("clear"), "none");
    for (const char* bad : {"#F00", "1E90FF", "#GG0000", "purple", ""})
        EXPECT_EQ(parseColor(bad), std::nullopt) << bad;
}

TEST(ScenarioBytes, EscapesDecodeAndBadOnesAreRefused) {
    EXPECT_EQ(decodeBytes(R"(a\nb\t\\\x41\0)"), std::string("a\nb\t\\A\0", 7));
    EXPECT_EQ(decodeBytes(R"(\x22quoted\x22)"), "\"quoted\"");
    for (const char* bad : {R"(\)", R"(\q)", R"(\x4)", R"(\xZZ)"})
        EXPECT_EQ(decodeBytes(bad), std::nullopt) << bad;
}

TEST(ScenarioMessages, QuoteAShortPrintableExcerpt) {
    EXPECT_EQ(excerpt("plain"), "plain");
    EXPECT_EQ(excerpt(std::string(100, 'x')), std::string(40, 'x') + "...");
    EXPECT_EQ(excerpt(std::string("a\x01\xff", 3)), R"(a\x01\xFF)");
    EXPECT_EQ(excerpt("Gr\xC3\xBC\xC3\x9F"
                      "e"),
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(excerpt("\xC3"), R"(\xC3)"); // a cut sequence
    Scenario s;
    auto err = parseScenario("boot\n" + std::string(10'000'000, 'z') + "\n", "big", s);
    ASSERT_TRUE(err);
    EXPECT_EQ(err->line, 2);
    EXPECT_LT(err->message.size(), 80u);
}

TEST(ScenarioParse, SettingsLinesThenSteps) {
    Scenario s;
    auto err = parseScenario("# demo\nstart 2026-12-07 09:00\nlocale de_DE\ntimezone Europe/Berlin\n"
                             "languages de en\naddons libstatusbar flipswitch\nscreen 414x736\n"
                             "springboard-without PCSimpleTimer AlarmManager\ntimer-slack 30s\n\nboot\n"
                             "alarm 09:30:15 \"Wake up\" nosnooze\nwait 5m\nexpect icon hidden\n",
                             "demo", s);
    ASSERT_FALSE(err) << err->message;
    EXPECT_EQ(s.settings.start, "2026-12-07 09:00:00");
    EXPECT_EQ(s.settings.locale, "de_DE");
    EXPECT_EQ(s.settings.timeZone, "Europe/Berlin");
    EXPECT_EQ(s.settings.languages, (std::vector<std::string>{"de", "en"}));
    EXPECT_EQ(s.settings.addons, (std::vector<std::string>{"libstatusbar", "flipswitch"}));
    EXPECT_EQ(s.settings.screen, "414x736");
    EXPECT_EQ(s.settings.springboardWithout, (std::vector<std::string>{"PCSimpleTimer", "AlarmManager"}));
    EXPECT_EQ(s.settings.timerSlack, 30);
    ASSERT_EQ(s.steps.size(), 4u);
    const auto* alarm = std::get_if<step::Alarm>(&s.steps[1].action);
    ASSERT_TRUE(alarm);
    EXPECT_EQ(alarm->secondsOfDay, 9 * 3600 + 30 * 60 + 15);
    EXPECT_EQ(alarm->label, "Wake up");
    EXPECT_FALSE(alarm->snooze);
    EXPECT_FALSE(alarm->daily);
    EXPECT_EQ(s.steps[1].line, 12);
    EXPECT_EQ(s.steps[1].shown, "alarm 09:30:15 \"Wake up\" nosnooze");
    EXPECT_EQ(std::get<step::Wait>(s.steps[2].action).seconds, 300);
    EXPECT_TRUE(std::get<expect::Icon>(std::get<Expectation>(s.steps[3].action)).shown == false);
    EXPECT_EQ(s.settings.startLine, 2) << "the runner names the start's line when the clock cannot hold it";
    EXPECT_EQ(s.settings.timeZoneLine, 4);
    // A byte-order mark some editors write before the first line is not part of its first word.
    ASSERT_FALSE(parseScenario("\xEF\xBB\xBF"
                               "boot\n",
                               "bom", s));
    EXPECT_TRUE(std::holds_alternative<step::Boot>(s.steps.at(0).action));
}

TEST(ScenarioParse, NewStepsAndExpectationsAreAccepted) {
    const char* good[] = {
        "touch down settings 10 20",
        "touch move springboard 10.5 -3",
        "touch up settings 0 0",
        "tap springboard 160 400",
        "drag settings 10 200 300 200",
        "drag settings 10 200 300 200 25",
        "type \"#80B8EF\"",
        "key return",
        "key backspace",
        R"(file write settings "\x00\xFF")",
        "file write /private/var/mobile/Library/Preferences/other.plist text",
        "expect view Hushmark background #FF0000 title-color white",
        "expect view springboard Hushmark highlighted yes",
        "expect view tag:2627 hidden no alpha 1",
        "expect view tag:-1 tag +0042",
        "expect view settings class:HMColorPickerView_B x 10 width 300",
        "expect alert tag 2627",
        "expect alert message \"Enter a color\"",
        "expect alert buttons Snooze OK Hushmark",
        "expect alert field \"#FFFFFF\"",
        "expect alert title Wake",
        "expect alert none",
        "expect row \"Button Text:\" value Hushmark",
        "expect row \"Button Color\" background #1E90FF",
        "expect row Enabled text-color black",
        "expect text \"#80B8EF\"",
        "expect no-text Snooze",
        "expect pixel settings 160 300 #FF0000",
        "home",
        "switcher",
        "open Settings",
        "open Clock",
        "expect app home",
        "expect app lock",
        "snapshot phone phone.png",
        "inspect phone phone.json",
        "tap phone 20 30",
        "drag phone 160 450 160 150",
        "expect pixel phone 10 10 white",
    };
    for (const char* line : good) {
        Scenario s;
        auto err = parseScenario(std::string("boot\n") + line + "\n", "good", s);
        EXPECT_FALSE(err) << line << ": " << (err ? err->message : "");
    }
}

TEST(ScenarioParse, BadLinesAreReportedWithTheirLineNumber) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"boot\nfly away\n", 2, "unknown step \"fly\""},
        {"boot\nwait\n", 2, "usage: wait DURATION"},
        {"boot\nwait soon\n", 2, "the duration must be like 30s, 5m, 1h30m (at most 100 years)"},
        {"boot\nwait -5m\n", 2, "the duration must be like 30s, 5m, 1h30m (at most 100 years)"},
        {"boot\nwait 87777777777777777777s\n", 2,
         "the duration must be like 30s, 5m, 1h30m (at most 100 years)"},
        {"boot\nwait 100000d\n", 2, "the duration must be like 30s, 5m, 1h30m (at most 100 years)"},
        {"boot\njump +1000000d\n", 2, "the duration must be like +2h, -30m (at most 100 years)"},
        {"boot\nlocale de_DE\n", 2, "\"locale\" must come before boot"},
        {"settings open\n", 1, "\"settings\" needs a booted device: put boot first"},
        {"addons libstatusbar teleport\n", 1,
         "an add-on must be one of libstatusbar8, libstatusbar, flipswitch, hushmarkfs, protean, not "
         "\"teleport\""},
        {"boot\nsettings switch Enabled maybe\n", 2, "a switch must be one of on, off, not \"maybe\""},
        {"boot\nexpect icon blinking\n", 2, "the icon must be one of shown, hidden, not \"blinking\""},
        {"file set enabled bool yes\n", 1, "a bool must be one of true, false, not \"yes\""},
        {"file set disarmedUntil date tomorrow\n", 1, "a date is an offset from now, like +30m or -1m"},
        {"file set K int .5\n", 1, "\".5\" is not a whole number that fits 64 bits"},
        {"file set K int 99999999999999999999\n", 1,
         "\"99999999999999999999\" is not a whole number that fits 64 bits"},
        {"file set K real inf\n", 1, "\"inf\" is not a finite number"},
        {"boot\nsettings segment L .5\n", 2, "a segment index is a whole number from 0, not \".5\""},
        {"boot\nsettings segment L 1e30\n", 2, "a segment index is a whole number from 0, not \"1e30\""},
        {"boot\nsettings segment L -1\n", 2, "a segment index is a whole number from 0, not \"-1\""},
        {"boot\npicker drag 1 2 x 4\n", 2, "\"x\" is not a coordinate (a number of points within 10000)"},
        {"boot\ntap settings 10 nan\n", 2, "\"nan\" is not a coordinate (a number of points within 10000)"},
        {"boot\ndrag springboard 1 2 3 4 0\n", 2,
         "the steps of a drag are a whole number from 1 to 1000, not \"0\""},
        {"boot\ntouch press settings 1 2\n", 2, "a touch must be one of down, move, up, not \"press\""},
        {"boot\ntap moon 1 2\n", 2, "the screen must be one of springboard, settings, phone, not \"moon\""},
        {"boot\nopen Calendar\n", 2, "an app must be one of Settings, Clock, not \"Calendar\""},
        {"boot\nopen settings\n", 2, "an app must be one of Settings, Clock, not \"settings\""},
        {"boot\nhome now\n", 2, "usage: home"},
        {"boot\nexpect app Safari\n", 2,
         "what is in front must be one of Settings, Clock, home, lock, switcher, not \"Safari\""},
        {"boot\nclock add 07:00:30 Wake\n", 2,
         "the Clock app sets whole minutes: \"07:00:30\" has seconds (use the alarm step for those)"},
        {"boot\nclock add 24:00 Wake\n", 2, "the time must be HH:MM or HH:MM:SS"},
        {"boot\nclock add 07:00 Wake weekly\n", 2,
         "a clock option must be one of daily, nosnooze, not \"weekly\""},
        {"boot\nclock add 07:00\n", 2, "usage: clock add HH:MM[:SS] LABEL [daily] [nosnooze]"},
        {"boot\nclock remove 07:00 Wake\n", 2, "a clock step must be one of add, not \"remove\""},
        {"boot\nsnapshot tablet x.png\n", 2,
         "a screen must be one of settings, alert, lockscreen, statusbar, screen, phone, not \"tablet\""},
        {"boot\nkey escape\n", 2, "a key must be one of return, backspace, not \"escape\""},
        {"boot\nalarm 25:00 Late\n", 2, "the time must be HH:MM or HH:MM:SS"},
        {"start 2026/12/07 09:00\n", 1,
         "the date must be a day of the calendar, YYYY-MM-DD, not \"2026/12/07\""},
        {"start 2026-02-30 09:00\n", 1,
         "the date must be a day of the calendar, YYYY-MM-DD, not \"2026-02-30\""},
        {"boot\nsettings tap \"Disarm\n", 2, "a quote is not closed"},
        {"boot\nexpect view Hushmark background pink\n", 2,
         "\"pink\" is not a color (#RRGGBB, #RRGGBBAA, white, black, clear, ...)"},
        {"boot\nexpect view Hushmark size 3\n", 2,
         "a view property must be one of background, title-color, text-color, highlighted, enabled, hidden, "
         "on, alpha, value, x, y, width, height, tag, class, text, title, not \"size\""},
        {"boot\nexpect view Hushmark\n", 2, "usage: expect view [SCREEN] SELECTOR PROPERTY VALUE..."},
        {"boot\nexpect alert tag two\n", 2, "usage: expect alert tag NUMBER"},
        {"boot\nexpect view tag:Snooze hidden no\n", 2,
         "a tag selector is tag:NUMBER, a whole number, not \"tag:Snooze\""},
        {"boot\nexpect view tag:0x1005 hidden no\n", 2,
         "a tag selector is tag:NUMBER, a whole number, not \"tag:0x1005\""},
        {"boot\nexpect view Snooze tag 4101.5\n", 2, "\"4101.5\" is not a whole number"},
        {"boot\nexpect pixel settings 10 10 #12345\n", 2, "\"#12345\" is not a color"},
        {"boot\nfile write settings \"\\q\"\n", 2,
         "a text to write takes the escapes \\n \\r \\t \\0 \\\\ and \\xHH only"},
        {"boot\nfile write relative/path x\n", 2, "the path must be a device path (from /) or settings"},
        {"screen 100x100\n", 1, "the screen must be one of 320x568, 375x667, 414x736, not \"100x100\""},
        {"springboard-without NSObject\n", 1,
         "a SpringBoard class must be one of SpringBoard, SBApplication, SBClockDataProvider, "
         "SBBulletinModalAlert, SBLockScreenViewController, SBAwayBulletinListItem, PCSimpleTimer, "
         "AlarmManager, UIConcreteLocalNotification, not \"NSObject\""},
        {"timer-slack 2d\n", 1, "the slack must be a duration of at most a day, like 30s"},
        {"", 1, "the scenario has no steps"},
        {"# only a comment\n\n", 2, "the scenario has no steps"},
        {"\x01\x02 fly\n", 1, "unknown step \"\\x01\\x02\""},
    };
    for (const auto& c : cases) {
        Scenario s;
        auto err = parseScenario(c.text, "bad", s);
        ASSERT_TRUE(err) << c.text;
        EXPECT_EQ(err->line, c.line) << c.text;
        EXPECT_EQ(err->message, c.message) << c.text;
    }
}

// Each line parses into the step it names, with its values converted as the runner uses them.
TEST(ScenarioParse, StepsCarryTheirCheckedValues) {
    auto parsed = [](const std::string& line) {
        Scenario s;
        auto err = parseScenario("boot\n" + line + "\n", "typed", s);
        EXPECT_FALSE(err) << line << ": " << (err ? err->message : "");
        return s.steps.size() == 2 ? s.steps[1].action : Action{};
    };
    auto drag = std::get<step::Drag>(parsed("drag settings 10 200.5 300 -4 25"));
    EXPECT_EQ(drag.screen, Screen::Settings);
    EXPECT_EQ(drag.from.y, 200.5);
    EXPECT_EQ(drag.to.y, -4);
    EXPECT_EQ(drag.steps, 25);
    EXPECT_EQ(std::get<step::Drag>(parsed("drag springboard 1 2 3 4")).steps, 10);
    auto touch = std::get<step::Touch>(parsed("touch move springboard 10.5 -3"));
    EXPECT_EQ(touch.phase, TouchPhase::Move);
    EXPECT_EQ(touch.screen, Screen::SpringBoard);
    EXPECT_EQ(std::get<step::Until>(parsed("until 07:00:01")).secondsOfDay, 7 * 3600 + 1);
    EXPECT_EQ(std::get<step::Jump>(parsed("jump -30m")).seconds, -1800);
    EXPECT_EQ(std::get<step::PickSegment>(parsed("settings segment \"Color Picker Slider\" 2")).index, 2);
    EXPECT_TRUE(std::get<step::SwitchRow>(parsed("settings switch Enabled on")).on);
    EXPECT_EQ(std::get<step::EnterColor>(parsed("color channel green 128")).prompt, "green");
    EXPECT_EQ(std::get<step::EnterColor>(parsed("color hex 80B8EF")).prompt, "hex");
    EXPECT_EQ(std::get<step::Press>(parsed("key backspace")).key, Key::Backspace);
    EXPECT_EQ(std::get<step::Snapshot>(parsed("snapshot statusbar shots/bar.png")).of,
              step::Snapshot::Of::StatusBar);
    EXPECT_EQ(std::get<step::Snapshot>(parsed("snapshot statusbar shots/bar.png")).file, "shots/bar.png");
    EXPECT_EQ(std::get<step::WriteFile>(parsed(R"(file write settings "a\tb")")).bytes, "a\tb");
    EXPECT_FALSE(std::get<step::WriteFile>(parsed(R"(file write settings x)")).devicePath);
    EXPECT_EQ(std::get<step::WriteFile>(parsed("file write /tmp/x y")).devicePath, "/tmp/x");
    EXPECT_EQ(std::get<long long>(std::get<step::SetSetting>(parsed("file set K int -7")).value), -7);
    EXPECT_EQ(
        std::get<step::FromNow>(std::get<step::SetSetting>(parsed("file set K date +30m")).value).seconds,
        1800);
    EXPECT_EQ(std::get<bool>(std::get<step::SetSetting>(parsed("file set K bool false")).value), false);
    auto view = std::get<expect::View>(
        std::get<Expectation>(parsed("expect view settings tag:+0042 alpha 0.5 background red")));
    EXPECT_EQ(view.screen, Screen::Settings);
    EXPECT_EQ(view.tag, 42);
    ASSERT_EQ(view.properties.size(), 2u);
    EXPECT_EQ(view.properties[0].number, 0.5);
    EXPECT_EQ(view.properties[1].color, "#FF0000FF");
    EXPECT_EQ(std::get<expect::View>(std::get<Expectation>(parsed("expect view class:UIButton hidden no")))
                  .className,
              "UIButton");
    auto pixel =
        std::get<expect::Pixel>(std::get<Expectation>(parsed("expect pixel settings 160 300 #ff0000")));
    EXPECT_EQ(pixel.color, "#FF0000FF");
    EXPECT_EQ(pixel.writtenColor, "#ff0000");
    EXPECT_TRUE(std::get<expect::Event>(std::get<Expectation>(parsed("expect no-event posted"))).absent);
    EXPECT_EQ(std::get<expect::AlertText>(std::get<Expectation>(parsed("expect alert field 12"))).part,
              expect::AlertText::Part::Field);
    // The phone's steps.
    EXPECT_EQ(std::get<step::Tap>(parsed("tap phone 20 30")).screen, Screen::Phone);
    EXPECT_TRUE(std::get<step::Home>(parsed("switcher")).twice);
    EXPECT_FALSE(std::get<step::Home>(parsed("home")).twice);
    EXPECT_EQ(std::get<step::OpenApp>(parsed("open Clock")).name, "Clock");
    EXPECT_EQ(std::get<expect::AppInFront>(std::get<Expectation>(parsed("expect app lock"))).name, "lock");
    EXPECT_EQ(std::get<step::Snapshot>(parsed("snapshot phone p.png")).of, step::Snapshot::Of::Phone);
    struct ClockCase {
        const char* line;
        int hour, minute;
        const char* label;
        bool daily, snooze;
    };
    const ClockCase clockCases[] = {
        {"clock add 07:05 \"Wake up\"", 7, 5, "Wake up", false, true},
        {"clock add 23:59:00 Late daily", 23, 59, "Late", true, true},
        {"clock add 00:00 Midnight nosnooze daily", 0, 0, "Midnight", true, false},
    };
    for (const ClockCase& c : clockCases) {
        auto add = std::get<step::ClockAdd>(parsed(c.line));
        EXPECT_EQ(add.hour, c.hour) << c.line;
        EXPECT_EQ(add.minute, c.minute) << c.line;
        EXPECT_EQ(add.label, c.label) << c.line;
        EXPECT_EQ(add.daily, c.daily) << c.line;
        EXPECT_EQ(add.snooze, c.snooze) << c.line;
    }
}

// A scenario's outputs stay inside the output folder: a path that climbs out of it or starts at
// the root is refused when the scenario is read, with its line, before anything runs.
TEST(ScenarioParse, OutputFilesStayInsideTheOutputFolder) {
    struct Case {
        const char* line;
        bool refused;
    };
    const Case cases[] = {
        {"snapshot settings ../../precious.txt", true},  {"snapshot settings ..", true},
        {"snapshot alert shots/../../x.png", true},      {"snapshot screen shots/..", true},
        {"snapshot statusbar /tmp/x.png", true},         {"snapshot statusbar //x.png", true},
        {"inspect springboard ../x.json", true},         {"inspect settings /etc/passwd", true},
        {"inspect settings \"a b/../../c.json\"", true}, {"snapshot settings root.png", false},
        {"snapshot settings shots/root.png", false},     {"snapshot settings ..png", false},
        {"snapshot settings a..b/c...png", false},       {"inspect springboard ./alert.json", false},
    };
    for (const auto& c : cases) {
        Scenario s;
        auto err = parseScenario(std::string("boot\nwait 1s\n") + c.line + "\n", "paths", s);
        EXPECT_EQ(bool(err), c.refused) << c.line;
        if (!err)
            continue;
        EXPECT_EQ(err->line, 3) << c.line;
        EXPECT_NE(err->message.find("must stay inside the output folder"), std::string::npos) << err->message;
    }
}

} // namespace
} // namespace sim
