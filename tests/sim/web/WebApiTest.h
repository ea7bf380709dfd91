// The API suites' fixture: the served device of ServedDeviceTest behind a server on a free port,
// a client run on its own thread while the test's thread is the device's, and small helpers.
#pragma once

#include "ServedDeviceTest.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <thread>

namespace sim::web {

class WebApiTest : public ServedDeviceTest {
  protected:
    void SetUp() override {
        ServedDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        server_ = std::make_unique<WebServer>(*host_, ServerOptions{"127.0.0.1", 0});
        ASSERT_EQ(server_->bind(), "");
        server_->start();
    }

    // Runs `client` on its own thread while this thread is the device's; then stops the host.
    void withClient(const std::function<void(httplib::Client&)>& client) {
        std::thread t([&] {
            httplib::Client c("127.0.0.1", server_->port());
            c.set_read_timeout(10, 0);
            client(c);
            host_->stop();
        });
        host_->run();
        t.join();
        server_->stop();
    }

    static httplib::Headers pageHeaders(int port) {
        return {{"Origin", "http://127.0.0.1:" + std::to_string(port)}};
    }

    httplib::Result post(httplib::Client& c, const nlohmann::json& body) {
        return c.Post("/api/action", pageHeaders(server_->port()), body.dump(), "application/json");
    }

    static nlohmann::json bodyOf(const httplib::Result& r) {
        return r ? nlohmann::json::parse(r->body, nullptr, false) : nlohmann::json();
    }

    // The first view (depth first) for which `match` holds.
    static const nlohmann::json* findView(const nlohmann::json& view,
                                          const std::function<bool(const nlohmann::json&)>& match) {
        if (match(view))
            return &view;
        if (view.contains("subviews"))
            for (const nlohmann::json& sub : view["subviews"])
                if (const nlohmann::json* found = findView(sub, match))
                    return found;
        return nullptr;
    }
};

} // namespace sim::web
