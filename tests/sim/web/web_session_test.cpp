// The session a person makes on the page, as a scenario: replayed by the scenario runner it gives
// the same timeline as the served device showed, however the clock ran between the actions; and
// each page's finger is its own.
#include "WebApiTest.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace sim::web {
namespace {

using nlohmann::json;

// The timeline's event lines without their dates (the runner and the page start a new day's
// date on different lines) and without the runner's own lines (steps, the header, the end).
std::vector<std::string> events(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    static const std::regex date("^\\d{4}-\\d\\d-\\d\\d ");
    for (std::string line : lines) {
        line = std::regex_replace(line, date, "");
        if (line.empty() || line[0] == '#' || line.find("  > ") != std::string::npos ||
            line.substr(line.find("  ") + 2) == "end")
            continue;
        out.push_back(line);
    }
    return out;
}

// Replays `text` with `hushmark-sim run`, as a person would (a process of its own: one device
// a process, as a phone has); the timeline's lines.
std::vector<std::string> replay(const std::string& text) {
    std::string pattern = (std::filesystem::temp_directory_path() / "hm-sim-session-XXXXXX").string();
    EXPECT_TRUE(mkdtemp(pattern.data()));
    const std::filesystem::path folder = pattern;
    std::ofstream(folder / "session.scn") << text;
    const std::string command = std::string(HM_SIM) + " run '" + (folder / "session.scn").string() + "' 2>&1";
    std::vector<std::string> lines;
    if (FILE* out = popen(command.c_str(), "r")) {
        std::string all;
        char block[4096];
        for (size_t n; (n = fread(block, 1, sizeof block, out)) > 0;)
            all.append(block, n);
        EXPECT_EQ(pclose(out), 0) << all;
        std::istringstream in(all);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return lines;
}

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
        runFor(3600, 150); // rings
        auto r = c.Get("/api/session.scn");
        ASSERT_TRUE(r);
        ASSERT_EQ(r->status, 200);
        EXPECT_EQ(r->get_header_value("Content-Type"), "text/plain; charset=utf-8");
        session = r->body;
        Publication::Cursor cursor;
        served = host_->publication().next(cursor, std::chrono::milliseconds(0)).lines;
    });
    const std::vector<std::string> replayed = replay(session);
    EXPECT_NE(session.find("\nalarm remove 09:30:00 \"Gone soon\"\n"), std::string::npos) << session;
    EXPECT_NE(session.find("\nuntil 08:00:00\n"), std::string::npos) << session;
    EXPECT_NE(session.find("\njump to 10:15:00\n"), std::string::npos) << session;
    EXPECT_NE(session.find("\ntouch move settings "), std::string::npos) << session;
    EXPECT_EQ(session.find("type x"), std::string::npos) << session;
    const auto want = events(served);
    EXPECT_NE(std::find(want.begin(), want.end(), "09:59:40  alarm delivered  Again"), want.end());
    EXPECT_EQ(events(replayed), want) << session;
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
