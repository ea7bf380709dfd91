// What a person chooses on the page for the device itself: add-ons, whose choice waits for the
// next respring (which changes the root's files before the relaunch, as a package manager
// would), and a reset to a fresh device with a locale, time zone and screen. A bad choice is
// refused with a message.
#include "WebApiTest.h"

#include "device/DeviceImage.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace sim::web {
namespace {

using nlohmann::json;

std::vector<std::string> atRespring(const json& addons, const std::string& what) {
    std::vector<std::string> names;
    for (const json& a : addons)
        if (a["atRespring"] == what)
            names.push_back(a["name"]);
    return names;
}

TEST_F(WebApiTest, AddOnChoicesAreRefusedWhenMalformed) {
    struct Case {
        json body;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{{"action", "addon"}, {"install", true}}, "\"name\" is missing"},
        {{{"action", "addon"}, {"name", "libstatusbar"}}, "\"install\" is missing"},
        {{{"action", "addon"}, {"name", "libstatusbar"}, {"install", "yes"}},
         "\"install\" must be true or false"},
        {{{"action", "addon"}, {"name", "cydia"}, {"install", true}},
         "\"name\" must be a known add-on, not \"cydia\""},
    };
    withClient([&](httplib::Client& c) {
        for (const Case& k : cases) {
            SCOPED_TRACE(k.body.dump());
            auto r = post(c, k.body);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, 400);
            EXPECT_EQ(bodyOf(r).value("error", ""), k.error);
        }
    });
    EXPECT_TRUE(installedAddons(root_).empty());
}

TEST_F(WebApiTest, AddOnsChangeAtTheNextRespringOnly) {
    // Protean installed before the page opened: the host reads the root as it starts.
    server_.reset();
    ASSERT_EQ(installAddon(root_, "protean"), "");
    host_ = std::make_unique<DeviceHost>(*device_, "UTC");
    server_ = std::make_unique<WebServer>(*host_, ServerOptions{"127.0.0.1", 0});
    ASSERT_EQ(server_->bind(), "");
    server_->start();
    withClient([&](httplib::Client& c) {
        for (const json& body : {
                 json{{"action", "addon"}, {"name", "libstatusbar"}, {"install", true}},
                 json{{"action", "addon"}, {"name", "flipswitch"}, {"install", true}},
                 json{{"action", "addon"}, {"name", "flipswitch"}, {"install", false}}, // changed its mind
                 json{{"action", "addon"}, {"name", "protean"}, {"install", false}},
                 json{{"action", "addon"}, {"name", "hushmarkfs"}, {"install", false}}, // not there
             }) {
            auto r = post(c, body);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, 200) << body.dump() << r->body;
        }
        // Chosen, not yet done: the root is as it was, and the choices wait.
        EXPECT_EQ(installedAddons(root_), std::vector<std::string>{"protean"});
        const json addons = host_->call([&](Device&) { return Reply::ok(host_->addons().json()); }).body;
        EXPECT_EQ(atRespring(addons, "install"), std::vector<std::string>{"libstatusbar"});
        EXPECT_EQ(atRespring(addons, "remove"), std::vector<std::string>{"protean"});

        auto r = post(c, {{"action", "respring"}});
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << r->body;
    });
    EXPECT_TRUE(host_->relaunchRequested());
    EXPECT_EQ(installedAddons(root_), std::vector<std::string>{"libstatusbar"});
    EXPECT_FALSE(std::filesystem::exists(root_ / "Library/MobileSubstrate/DynamicLibraries/Protean.dylib"));
    EXPECT_TRUE(atRespring(host_->addons().json(), "install").empty());
    EXPECT_TRUE(atRespring(host_->addons().json(), "remove").empty());
}

TEST_F(WebApiTest, AResetIsRefusedWhenMalformed) {
    const json good = {
        {"action", "reset"}, {"locale", "de_DE"}, {"timeZone", "Europe/Berlin"}, {"screen", "375x667"}};
    struct Case {
        const char* field;
        json value; // null: the field left out
        std::string error;
    };
    const std::vector<Case> cases = {
        {"locale", nullptr, "\"locale\" is missing"},
        {"locale", "de DE; rm", "\"locale\" must be a locale such as en_US or de_DE, not \"de DE; rm\""},
        {"locale", 7, "\"locale\" must be a string"},
        {"timeZone", "Mars/Olympus",
         "\"timeZone\" must be a time zone such as UTC or Europe/Berlin, not \"Mars/Olympus\""},
        {"screen", "1024x768", "\"screen\" must be one of 320x568, 375x667, 414x736"},
        {"screen", nullptr, "\"screen\" is missing"},
    };
    withClient([&](httplib::Client& c) {
        for (const Case& k : cases) {
            json body = good;
            if (k.value.is_null())
                body.erase(k.field);
            else
                body[k.field] = k.value;
            SCOPED_TRACE(body.dump());
            auto r = post(c, body);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->status, 400);
            EXPECT_EQ(bodyOf(r).value("error", ""), k.error);
        }
    });
    EXPECT_FALSE(host_->relaunchRequested());
}

// A reset asks for a relaunch as a fresh device with the chosen locale, zone and screen, the
// add-ons the root holds once the pending choices are carried out, and the device's languages.
TEST_F(WebApiTest, AResetRelaunchesAsAFreshDeviceWithTheChosenSettings) {
    withClient([&](httplib::Client& c) {
        auto r = post(c, {{"action", "addon"}, {"name", "libstatusbar"}, {"install", true}});
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200);
        r = post(
            c,
            {{"action", "reset"}, {"locale", "de_DE"}, {"timeZone", "Europe/Berlin"}, {"screen", "414x736"}});
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << r->body;
    });
    EXPECT_TRUE(host_->relaunchRequested());
    ASSERT_TRUE(host_->resetRequested());
    const DeviceImageOptions& fresh = *host_->resetRequested();
    EXPECT_EQ(fresh.locale, "de_DE");
    EXPECT_EQ(fresh.timeZone, "Europe/Berlin");
    EXPECT_EQ(fresh.setup.screen.width, 414);
    EXPECT_EQ(fresh.setup.scale, 3);
    EXPECT_EQ(fresh.addons, std::vector<std::string>{"libstatusbar"});
    EXPECT_EQ(fresh.languages, std::vector<std::string>{"en"});
}

} // namespace
} // namespace sim::web
