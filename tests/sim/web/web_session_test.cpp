// The session a person makes on the page, as a scenario: replayed by the scenario runner it gives
// the same timeline as the served device showed, however the clock ran between the actions; and
// each page's finger is its own.
#include "Replay.h"
#include "WebApiTest.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace sim::web {
namespace {

using nlohmann::json;

json centre(const json& frame) {
    return {{"x", frame["x"].get<double>() + frame["width"].get<double>() / 2},
            {"y", frame["y"].get<double>() + frame["height"].get<double>() / 2}};
}

TEST_F(WebApiTest, ARecordedSessionReplaysToTheSameTimeline) {
    std::string session;
    std::vector<std::string> served;
    withClient([&](httplib::Client& c) {
        auto act = [&](json body, int status = 200) {
            auto r = post(c, body);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, status) << body.dump() << " " << r->body;
        };
        auto runFor = [&](int rate, int milliseconds) {
            act({{"action", "rate"}, {"rate", rate}});
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            act({{"action", "rate"}, {"rate", 0}});
        };
        const json settings = bodyOf(c.Get("/api/inspect/settings"));
        const json* toggle =
            findView(settings["views"], [](const json& v) { return v["class"] == "PSSwitchView"; });
        ASSERT_NE(toggle, nullptr);
        json disarm;
        for (const json& row : settings["settings"]["rows"])
            if (row["label"] == "Disarm Now")
                disarm = centre(row["frame"]);
        ASSERT_FALSE(disarm.is_null());

        act({{"action", "setTime"}, {"time", "2026-12-07 07:00:00"}});
        runFor(1, 150); // a fraction of a second passes on the device
        // Enabled on by a touch that wanders a little, at about 60 moves a second.
        json at = centre((*toggle)["frame"]);
        act({{"action", "touch"}, {"phase", "down"}, {"screen", "settings"}, {"x", at["x"]}, {"y", at["y"]}});
        act({{"action", "rate"}, {"rate", 1}});
        for (int i = 1; i <= 5; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(17));
            act({{"action", "touch"},
                 {"phase", "move"},
                 {"screen", "settings"},
                 {"x", at["x"].get<double>() + i * 0.3},
                 {"y", at["y"]}});
        }
        act({{"action", "touch"}, {"phase", "up"}, {"screen", "settings"}, {"x", at["x"]}, {"y", at["y"]}});
        act({{"action", "rate"}, {"rate", 0}});
        runFor(3600, 250); // the tweak's first arming falls due somewhere in here
        act({{"action", "addAlarm"}, {"time", "08:00:00"}, {"label", "Coffee"}});
        act({{"action", "addAlarm"}, {"time", "09:30"}, {"label", "Gone soon"}, {"daily", true}});
        act({{"action", "tap"}, {"screen", "settings"}, {"x", disarm["x"]}, {"y", disarm["y"]}});
        act({{"action", "nextAlarm"}});                // Coffee, dropped while disarmed
        act({{"action", "type"}, {"text", "x"}}, 409); // refused: not in the session
        const json state = bodyOf(c.Get("/api/inspect/springboard"));
        for (const json& alarm : state["springboard"]["alarms"])
            if (alarm["label"] == "Gone soon")
                act({{"action", "removeAlarm"}, {"id", alarm["id"]}});
        act({{"action", "lock"}, {"locked", true}});
        act({{"action", "addAlarm"}, {"time", "10:15:30"}, {"label", "Standup"}, {"snooze", false}});
        act({{"action", "setTime"}, {"time", "10:15:00"}});
        act({{"action", "nextAlarm"}}); // rings on the lock screen
        act({{"action", "alertButton"}, {"title", "slide to stop"}});
        act({{"action", "lock"}, {"locked", false}});
        runFor(3600, 150);
        act({{"action", "setTime"}, {"time", "09:59:00"}}); // back an hour and more
        act({{"action", "addAlarm"}, {"time", "09:59:40"}, {"label", "Again"}});
        // It rings: the clock runs until the device has delivered it (on a loaded machine a
        // run of 150 ms may end before the device's thread has let that much time pass).
        Publication::Cursor cursor;
        const auto rang = [&] {
            for (std::string& line : host_->publication().next(cursor, std::chrono::milliseconds(200)).lines)
                served.push_back(std::move(line));
            return std::any_of(served.begin(), served.end(), [](const std::string& line) {
                return line.find("alarm delivered  Again") != std::string::npos;
            });
        };
        for (int tries = 0; tries < 40 && !rang(); ++tries)
            runFor(3600, 150);
        auto r = c.Get("/api/session.scn");
        ASSERT_TRUE(r);
        ASSERT_EQ(r->status, 200);
        EXPECT_EQ(r->get_header_value("Content-Type"), "text/plain; charset=utf-8");
        session = r->body;
        for (std::string& line : host_->publication().next(cursor, std::chrono::milliseconds(0)).lines)
            served.push_back(std::move(line));
    });
    const std::vector<std::string> replayed = runScenarioText(session);
    EXPECT_NE(session.find("\nalarm remove 09:30:00 \"Gone soon\"\n"), std::string::npos) << session;
    EXPECT_NE(session.find("\nuntil 08:00:00\n"), std::string::npos) << session;
    EXPECT_NE(session.find("\njump to 10:15:00\n"), std::string::npos) << session;
    EXPECT_NE(session.find("\ntouch move settings "), std::string::npos) << session;
    EXPECT_EQ(session.find("type x"), std::string::npos) << session;
    const auto want = timelineEvents(served);
    EXPECT_NE(std::find(want.begin(), want.end(), "09:59:40  alarm delivered  Again"), want.end());
    EXPECT_EQ(timelineEvents(replayed), want) << session;
}

TEST_F(WebApiTest, EachPageHasItsOwnFinger) {
    withClient([&](httplib::Client& c) {
        auto touch = [&](const char* finger, const char* phase, double x) {
            auto r = post(c, {{"action", "touch"},
                              {"phase", phase},
                              {"screen", "settings"},
                              {"x", x},
                              {"y", 300},
                              {"finger", finger}});
            return r ? std::make_pair(r->status, bodyOf(r).value("error", ""))
                     : std::make_pair(0, std::string());
        };
        const std::string busy = "another page's finger is down on the settings screen: this page's touch "
                                 "waits until it lifts";
        EXPECT_EQ(touch("a", "down", 100).first, 200);
        EXPECT_EQ(touch("b", "down", 150), std::make_pair(409, busy));
        EXPECT_EQ(touch("b", "move", 150), std::make_pair(409, busy));
        EXPECT_EQ(touch("b", "up", 150), std::make_pair(409, busy));
        auto tap =
            post(c, {{"action", "tap"}, {"screen", "settings"}, {"x", 10}, {"y", 10}, {"finger", "b"}});
        ASSERT_TRUE(tap);
        EXPECT_EQ(tap->status, 409);
        EXPECT_EQ(touch("a", "move", 120).first, 200);
        EXPECT_EQ(touch("a", "up", 120).first, 200);
        // Lifted: the other page's finger goes down and the first one's waits.
        EXPECT_EQ(touch("b", "down", 150).first, 200);
        EXPECT_EQ(touch("a", "down", 100).first, 409);
        EXPECT_EQ(touch("b", "up", 150).first, 200);
    });
}

} // namespace
} // namespace sim::web
