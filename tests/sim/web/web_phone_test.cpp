// The phone through the HTTP API: the home button, the switcher and the icons change what is in
// front, as the state the page shows and the phone's inspection say; a touch on the phone
// reaches the app in front.
#include "WebApiTest.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string>

namespace sim::web {
namespace {

using nlohmann::json;

// The phone's own buttons and icons: what is in front follows them, in the state the page shows
// and in the phone's inspection; a touch on the phone reaches the app in front.
TEST_F(WebApiTest, TheHomeButtonAndTheIconsChangeWhatIsInFront) {
    withClient([&](httplib::Client& c) {
        auto front = [&] { return bodyOf(c.Get("/api/inspect/phone"))["phone"]["front"]; };
        EXPECT_EQ(front(), "Settings"); // the test's device shows Hushmark's page
        ASSERT_EQ(post(c, {{"action", "home"}})->status, 200);
        EXPECT_EQ(front(), "home");
        struct Step {
            json action;
            int status;
            std::string front;
        };
        const Step steps[] = {
            {{{"action", "open"}, {"app", "Clock"}}, 200, "Clock"},
            {{{"action", "home"}}, 200, "home"},
            {{{"action", "open"}, {"app", "Settings"}}, 200, "Settings"},
            {{{"action", "switcher"}}, 200, "switcher"},
            {{{"action", "home"}}, 200, "home"},
            {{{"action", "lock"}, {"locked", true}}, 200, "lock"},
            {{{"action", "open"}, {"app", "Clock"}}, 409, "lock"},
            {{{"action", "home"}}, 409, "lock"},
            {{{"action", "lock"}, {"locked", false}}, 200, "home"},
        };
        for (const Step& s : steps) {
            auto r = post(c, s.action);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, s.status) << s.action.dump() << ": " << r->body;
            EXPECT_EQ(front(), s.front) << s.action.dump();
        }
        // The Settings icon, touched on the phone where the inspection places it.
        const json home = bodyOf(c.Get("/api/inspect/phone"));
        const json* icon = findView(home["views"], [](const json& v) { return v["tag"] == 4400; });
        ASSERT_NE(icon, nullptr);
        const json& f = (*icon)["frame"];
        auto r = post(c, {{"action", "tap"},
                          {"screen", "phone"},
                          {"x", f["x"].get<double>() + f["width"].get<double>() / 2},
                          {"y", f["y"].get<double>() + f["height"].get<double>() / 2}});
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << r->body;
        EXPECT_EQ(front(), "Settings");
    });
}

} // namespace
} // namespace sim::web
