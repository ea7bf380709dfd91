// The server as a browser (or a hostile page) talks to it: actions and inspection over JSON, the
// event stream sending each picture only when it changed, refusals with a message for bad input,
// foreign hosts and foreign origins, coalesced touch moves, and a clean stop. The device runs on
// the test's main thread, as in `serve`; the client runs on another.
#include "Actions.h"
#include "WebApiTest.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>
#include <utility>

namespace sim::web {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

TEST_F(WebApiTest, ActionsChangeWhatInspectionShows) {
    withClient([&](httplib::Client& c) {
        auto r = c.Get("/api/inspect/settings");
        ASSERT_TRUE(r);
        ASSERT_EQ(r->status, 200);
        json settings = bodyOf(r);
        EXPECT_EQ(settings["screen"], "settings");
        const json* toggle =
            findView(settings["views"], [](const json& v) { return v["class"] == "PSSwitchView"; });
        ASSERT_NE(toggle, nullptr) << settings.dump();
        EXPECT_EQ((*toggle)["on"], false);
        const json& f = (*toggle)["frame"];
        const json at{{"screen", "settings"},
                      {"x", f["x"].get<double>() + f["width"].get<double>() / 2},
                      {"y", f["y"].get<double>() + f["height"].get<double>() / 2}};
        for (const char* phase : {"down", "up"}) {
            json touch = at;
            touch["action"] = "touch";
            touch["phase"] = phase;
            r = post(c, touch);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, 200) << r->body;
        }
        toggle = findView((settings = bodyOf(c.Get("/api/inspect/settings")))["views"],
                          [](const json& v) { return v["class"] == "PSSwitchView"; });
        ASSERT_NE(toggle, nullptr);
        EXPECT_EQ((*toggle)["on"], true);

        r = post(c, {{"action", "addAlarm"}, {"time", "07:00:30"}, {"label", "Wake"}, {"snooze", false}});
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << r->body;
        EXPECT_EQ(post(c, {{"action", "lock"}, {"locked", true}})->status, 200);
        json board = bodyOf(c.Get("/api/inspect/springboard"));
        EXPECT_EQ(board["springboard"]["locked"], true);
        ASSERT_EQ(board["springboard"]["alarms"].size(), 1u);
        EXPECT_EQ(board["springboard"]["alarms"][0]["time"], "07:00:30");
        EXPECT_EQ(board["springboard"]["nextAlarm"], "2026-12-07 07:00:30");
        r = post(c, {{"action", "nextAlarm"}});
        EXPECT_EQ(r->status, 200) << r->body;
        board = bodyOf(c.Get("/api/inspect/springboard"));
        EXPECT_EQ(board["time"].get<std::string>().substr(11), "07:00:30") << board["time"];
        // A declined action says why, and is not a success.
        r = post(c, {{"action", "alertButton"}, {"title", "No such button"}});
        EXPECT_EQ(r->status, 409) << r->body;
        EXPECT_FALSE(bodyOf(r)["error"].get<std::string>().empty());
    });
}

struct BadRequest {
    const char* name;
    std::string method, path, contentType, body;
    httplib::Headers headers;
    int status;
    std::string message; // a part of the answer's "error"
};

TEST_F(WebApiTest, BadInputGetsAClearRefusalAndTheDeviceKeepsRunning) {
    const std::string huge(WebServer::kBodyLimit + 1024, ' ');
    const std::vector<BadRequest> cases{
        {"malformed JSON",
         "POST",
         "/api/action",
         "application/json",
         "{\"action\": ",
         {},
         400,
         "not valid JSON"},
        {"not an object", "POST", "/api/action", "application/json", "[1, 2]", {}, 400, "JSON object"},
        {"an app not installed",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"open","app":"Safari"})",
         {},
         400,
         "\"app\" must be \"Settings\" or \"Clock\", not \"Safari\""},
        {"an app missing",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"open"})",
         {},
         400,
         "\"app\" is missing"},
        {"a screen unknown",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"tap","screen":"tablet","x":1,"y":1})",
         {},
         400,
         "\"screen\" must be \"springboard\", \"settings\" or \"phone\""},
        {"unknown action",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"explode"})",
         {},
         400,
         "no action \"explode\""},
        {"missing field",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"tap","screen":"settings","x":10})",
         {},
         400,
         "\"y\" is missing"},
        {"wrong type",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"tap","screen":"settings","x":"10","y":5})",
         {},
         400,
         "\"x\" must be a number"},
        {"unknown screen",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"tap","screen":"lock","x":1,"y":1})",
         {},
         400,
         "\"screen\" must be"},
        {"point off the screen",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"tap","screen":"springboard","x":321,"y":5})",
         {},
         400,
         "lies outside"},
        {"a point too far to be a number of points",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"tap","screen":"springboard","x":1e308,"y":5})",
         {},
         400,
         "(1e+308, 5) lies outside"},
        {"negative point",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"touch","phase":"move","screen":"settings","x":5,"y":-1})",
         {},
         400,
         "lies outside"},
        {"bad phase",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"touch","phase":"hover","screen":"settings","x":5,"y":5})",
         {},
         400,
         "\"phase\""},
        {"bad rate",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"rate","rate":7})",
         {},
         400,
         "0, 1, 60 or 3600"},
        {"bad alarm time",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"addAlarm","time":"25:00"})",
         {},
         400,
         "HH:MM"},
        {"impossible date",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"setTime","time":"2026-02-30 08:00:00"})",
         {},
         400,
         "\"time\""},
        {"long text",
         "POST",
         "/api/action",
         "application/json",
         json{{"action", "type"}, {"text", std::string(2000, 'a')}}.dump(),
         {},
         400,
         "at most"},
        {"not JSON",
         "POST",
         "/api/action",
         "text/plain",
         R"({"action":"lock","locked":true})",
         {},
         415,
         "application/json"},
        {"form post",
         "POST",
         "/api/action",
         "application/x-www-form-urlencoded",
         "action=lock",
         {},
         415,
         "application/json"},
        {"huge body", "POST", "/api/action", "application/json", huge, {}, 413, "KiB"},
        {"unknown route", "GET", "/etc/passwd", "", "", {}, 404, "no such page"},
        {"climbing out", "GET", "/../../etc/passwd", "", "", {}, 404, "no such page"},
        {"unknown screen to inspect", "GET", "/api/inspect/lockscreen", "", "", {}, 404, "no screen"},
        {"foreign host",
         "GET",
         "/api/inspect/settings",
         "",
         "",
         {{"Host", "evil.example:8026"}},
         403,
         "answers only"},
        {"foreign host posting",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"lock","locked":true})",
         {{"Host", "attacker.example"}},
         403,
         "answers only"},
        {"foreign origin",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"lock","locked":true})",
         {{"Origin", "http://evil.example"}},
         403,
         "only from the page"},
        {"another port's origin",
         "POST",
         "/api/action",
         "application/json",
         R"({"action":"lock","locked":true})",
         {{"Origin", "http://127.0.0.1:1"}},
         403,
         "only from the page"},
    };
    withClient([&](httplib::Client& c) {
        for (const BadRequest& bad : cases) {
            SCOPED_TRACE(bad.name);
            httplib::Result r = bad.method == "GET" ? c.Get(bad.path.c_str(), bad.headers)
                                                    : c.Post(bad.path.c_str(), bad.headers, bad.body,
                                                             bad.contentType.c_str());
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, bad.status) << r->body;
            json answer = bodyOf(r);
            ASSERT_TRUE(answer.is_object() && answer["error"].is_string()) << r->body;
            EXPECT_NE(answer["error"].get<std::string>().find(bad.message), std::string::npos)
                << answer["error"];
        }
        // Nothing of the above changed the device, and it still answers.
        json board = bodyOf(c.Get("/api/inspect/springboard"));
        EXPECT_EQ(board["springboard"]["locked"], false);
        EXPECT_EQ(board["time"], "2026-12-07 06:59:00");
        // The page's own origin and the name localhost are welcome.
        auto r = c.Post("/api/action",
                        {{"Host", "localhost:" + std::to_string(server_->port())},
                         {"Origin", "http://localhost:" + std::to_string(server_->port())}},
                        R"({"action":"lock","locked":true})", "application/json");
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << r->body;
    });
}

// Coordinates no screen holds, nor an int: refused with the numbers as they were sent.
TEST_F(WebApiTest, HostileCoordinatesAreRefusedWithTheNumbersAsSent) {
    struct Hostile {
        std::string body;
        std::string message; // a part of the answer's "error"
    };
    const std::vector<Hostile> cases{
        {R"({"action":"tap","screen":"settings","x":1e308,"y":10})",
         "the point (1e+308, 10) lies outside the settings screen (320 by 568 points)"},
        {R"({"action":"tap","screen":"settings","x":-1e308,"y":10})", "the point (-1e+308, 10) lies outside"},
        {R"({"action":"touch","phase":"down","screen":"springboard","x":10,"y":2147483648})",
         "the point (10, 2.14748e+09) lies outside the springboard screen"},
        {R"({"action":"touch","phase":"move","screen":"settings","x":-2147483649,"y":-1e308})",
         "the point (-2.14748e+09, -1e+308) lies outside"},
        {R"({"action":"touch","phase":"up","screen":"settings","x":4294967296.5,"y":1})",
         "the point (4.29497e+09, 1) lies outside"},
        {R"({"action":"tap","screen":"settings","x":1e999,"y":10})",
         "not valid JSON"}, // no JSON number is infinite
        {R"({"action":"tap","screen":"settings","x":10,"y":-1e999})", "not valid JSON"},
        {R"({"action":"tap","screen":"settings","x":NaN,"y":10})", "not valid JSON"},
    };
    withClient([&](httplib::Client& c) {
        for (const Hostile& h : cases) {
            SCOPED_TRACE(h.body);
            httplib::Result r = c.Post("/api/action", h.body, "application/json");
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, 400) << r->body;
            json answer = bodyOf(r);
            ASSERT_TRUE(answer.is_object() && answer["error"].is_string()) << r->body;
            EXPECT_NE(answer["error"].get<std::string>().find(h.message), std::string::npos)
                << answer["error"];
        }
        // A point on the screen still goes through.
        auto r = c.Post("/api/action", R"({"action":"tap","screen":"settings","x":160,"y":300})",
                        "application/json");
        ASSERT_TRUE(r);
        EXPECT_NE(r->status, 400) << r->body;
    });
}

// Reads the event stream until `enough` says so; the events as (name, data).
std::vector<std::pair<std::string, json>>
readEvents(httplib::Client& c,
           const std::function<bool(const std::vector<std::pair<std::string, json>>&)>& enough) {
    std::vector<std::pair<std::string, json>> events;
    std::string buffer;
    c.Get("/api/events", [&](const char* data, size_t size) {
        buffer.append(data, size);
        for (size_t end; (end = buffer.find("\n\n")) != std::string::npos; buffer.erase(0, end + 2)) {
            const std::string message = buffer.substr(0, end);
            if (message.rfind("event: ", 0) != 0)
                continue;
            const size_t newline = message.find('\n');
            events.emplace_back(message.substr(7, newline - 7),
                                json::parse(message.substr(newline + 7), nullptr, false));
        }
        return !enough(events);
    });
    return events;
}

// The stream carries the phone, the one display the page shows: its whole picture once for each
// viewer, then only the parts a change redrew. SpringBoard's and Settings' own screens are not drawn.
TEST_F(WebApiTest, TheEventStreamSendsThePhonesPictureThenOnlyItsChanges) {
    auto count = [](const auto& events, const std::string& name, const std::string& screen = "") {
        return std::count_if(events.begin(), events.end(), [&](const auto& e) {
            return e.first == name && (screen.empty() || e.second["screen"] == screen);
        });
    };
    withClient([&](httplib::Client& c) {
        auto first = readEvents(c, [&](const auto& e) {
            return count(e, "screen") >= 1 && count(e, "state") >= 1 && count(e, "timeline") >= 1;
        });
        ASSERT_EQ(count(first, "screen", "phone"), 1);
        for (const auto& [name, data] : first)
            if (name == "screen") {
                EXPECT_EQ(data["png"].get<std::string>().substr(0, 8), "iVBORw0K"); // a PNG's signature
            }
        // The timeline so far, as `run` prints it.
        auto timeline =
            std::find_if(first.begin(), first.end(), [](const auto& e) { return e.first == "timeline"; });
        ASSERT_NE(timeline, first.end());
        EXPECT_NE(timeline->second.dump().find("06:59:00  springboard launched"), std::string::npos)
            << timeline->second.dump();

        // A second viewer: the home button (Settings is in front) redraws the phone, which the
        // stream sends as tiles.
        httplib::Client second("127.0.0.1", server_->port());
        second.set_read_timeout(10, 0);
        std::promise<std::vector<std::pair<std::string, json>>> seen;
        // The viewer's first event (the phone's whole picture) says its stream is open.
        std::promise<void> subscribed;
        bool toldSubscribed = false;
        std::thread viewer([&] {
            seen.set_value(readEvents(second, [&](const auto& e) {
                if (!e.empty() && !std::exchange(toldSubscribed, true))
                    subscribed.set_value();
                return std::any_of(
                           e.begin(), e.end(),
                           [](const auto& x) { return x.first == "state" && x.second["front"] == "home"; }) &&
                       std::any_of(e.begin(), e.end(), [](const auto& x) { return x.first == "tiles"; });
            }));
        });
        EXPECT_EQ(subscribed.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_EQ(post(c, {{"action", "home"}})->status, 200);
        viewer.join();
        auto events = seen.get_future().get();
        EXPECT_EQ(count(events, "screen", "phone"), 1) << "the phone's whole picture was sent again";
        EXPECT_GE(count(events, "tiles", "phone"), 1);
        EXPECT_EQ(count(events, "screen") + count(events, "tiles"),
                  count(events, "screen", "phone") + count(events, "tiles", "phone"))
            << "a screen no page shows was drawn";
    });
}

// The device was laid out under the host's clock before its own clock started: the timeline
// opens with the device's date and holds no line of the host's.
TEST_F(WebApiTest, TheTimelineOpensWithTheDevicesDate) {
    withClient([&](httplib::Client& c) {
        auto events = readEvents(c, [](const auto& e) {
            return std::any_of(e.begin(), e.end(), [](const auto& x) { return x.first == "timeline"; });
        });
        auto timeline =
            std::find_if(events.begin(), events.end(), [](const auto& e) { return e.first == "timeline"; });
        ASSERT_NE(timeline, events.end());
        const json& lines = timeline->second["lines"];
        ASSERT_TRUE(lines.is_array() && !lines.empty()) << timeline->second.dump();
        EXPECT_EQ(lines[0].get<std::string>().rfind("2026-12-07 06:59:00  ", 0), 0u) << lines.dump();
        // A line that starts with a date ("YYYY-MM-DD ") is on the device's day.
        const auto dated = [](const std::string& text) {
            if (text.size() <= 10 || text[10] != ' ')
                return false;
            for (size_t i = 0; i < 10; ++i)
                if (i == 4 || i == 7 ? text[i] != '-' : !std::isdigit(static_cast<unsigned char>(text[i])))
                    return false;
            return true;
        };
        for (const json& line : lines) {
            const std::string text = line.get<std::string>();
            EXPECT_TRUE(!dated(text) || text.rfind("2026-12-07 ", 0) == 0) << "another day: " << text;
        }
    });
}

TEST_F(WebApiTest, MovesArrivingWhileTheDeviceIsBusyAreCoalesced) {
    withClient([&](httplib::Client&) {
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::promise<void> busy;
        std::thread blocker([&] {
            host_->call([&](Device&) {
                busy.set_value();
                released.wait();
                return Reply::ok();
            });
        });
        busy.get_future().wait();
        auto firstMove = std::async(std::launch::async, [&] {
            return host_->move(Screen::Settings, {10, 10});
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Reply later = host_->move(Screen::Settings, {20, 20});
        Reply latest = host_->move(Screen::Settings, {30, 30});
        EXPECT_EQ(later.body.value("coalesced", false), true);
        EXPECT_EQ(latest.body.value("coalesced", false), true);
        release.set_value();
        blocker.join();
        Reply first = firstMove.get();
        EXPECT_FALSE(first.body.value("coalesced", false)) << first.body.dump();
        // The device saw one move, after which a new move queues again.
        Reply again = host_->move(Screen::Settings, {40, 40});
        EXPECT_FALSE(again.body.value("coalesced", false));
    });
}

TEST_F(WebApiTest, StoppingEndsEveryStreamAndAnswersWaitingCallers) {
    std::thread client([&] {
        httplib::Client c("127.0.0.1", server_->port());
        c.set_read_timeout(30, 0);
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            host_->stop();
        });
        auto events = readEvents(c, [](const auto&) { return false; }); // returns only when the stream ends
        EXPECT_FALSE(events.empty());
        stopper.join();
    });
    host_->run();
    client.join();
    EXPECT_EQ(host_->call([](Device&) { return Reply::ok(); }).status, 503);
    server_->stop();
}

} // namespace
} // namespace sim::web
