// A scenario played on the served device (`serve --play`) gives the timeline `hushmark-sim run`
// gives for it, and a failed expectation stops the play with its message on the page.
#include "Replay.h"
#include "ScenarioPlayer.h"
#include "WebApiTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace sim::web {
namespace {

// The fixture's device: booted at 06:59 UTC, Settings open on Hushmark's page.
constexpr const char* kHead = "start 2026-12-07 06:59\nboot\nsettings open\n";

class PlayTest : public WebApiTest {
  protected:
    // Plays `steps` after kHead at a high speed while a viewer watches; the state it ends with.
    nlohmann::json play(const std::string& steps) {
        Scenario scenario;
        auto e = parseScenario(std::string(kHead) + steps, "played", scenario);
        EXPECT_FALSE(e) << (e ? e->message : "");
        std::ostringstream console;
        ScenarioPlayer player(*host_, scenario, 100000, 2, console);
        nlohmann::json state = nlohmann::json::object();
        withClient([&](httplib::Client&) {
            host_->viewerJoined();
            player.start();
            for (int i = 0; i < 400 && !state.value("playing", nlohmann::json::object()).value("done", false);
                 ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
                Publication::Cursor cursor; // from the start: the latest state
                const std::string text =
                    host_->publication().next(cursor, std::chrono::milliseconds(0)).state;
                if (!text.empty())
                    state = nlohmann::json::parse(text);
            }
            Publication::Cursor cursor;
            served_ = host_->publication().next(cursor, std::chrono::milliseconds(0)).lines;
        });
        player.stop();
        console_ = console.str();
        return state;
    }
    std::vector<std::string> served_;
    std::string console_;
};

TEST_F(PlayTest, APlayedScenarioGivesTheTimelineOfItsRun) {
    const std::string steps = "settings switch Enabled on\n"
                              "alarm 07:05 Coffee\n"
                              "wait 5m\n"
                              "settings tap \"Disarm Now\"\n"
                              "expect status \"Hushmarked Until:\"\n"
                              "until 07:05:01\n"
                              "expect event \"alarm dropped  Coffee\"\n"
                              "jump to 08:00\n"
                              "wait 90s\n";
    const nlohmann::json state = play(steps);
    ASSERT_TRUE(state.contains("playing")) << state.dump();
    EXPECT_EQ(state["playing"]["done"], true);
    EXPECT_EQ(state["playing"]["error"], nullptr);
    EXPECT_EQ(state["time"], "2026-12-07 08:01:30");
    const auto want = timelineEvents(runScenarioText(std::string(kHead) + steps));
    EXPECT_GT(want.size(), 6u);
    EXPECT_EQ(timelineEvents(served_), want);
    EXPECT_NE(console_.find("played played"), std::string::npos) << console_;
}

TEST_F(PlayTest, AFailedExpectationStopsThePlayWithItsMessage) {
    const nlohmann::json state = play("alarm 07:05 Coffee\nexpect icon shown\nwait 1h\n");
    ASSERT_TRUE(state.contains("playing")) << state.dump();
    EXPECT_EQ(state["playing"]["done"], true);
    EXPECT_EQ(state["playing"]["step"], 4); // of five: the expectation after the boot, Settings, the alarm
    EXPECT_EQ(state["playing"]["error"], "the status-bar icon is hidden");
    EXPECT_EQ(state["time"], "2026-12-07 06:59:00"); // the wait after it never ran
    EXPECT_NE(console_.find("played:5: expect icon shown\n  the status-bar icon is hidden"),
              std::string::npos)
        << console_;
}

} // namespace
} // namespace sim::web
