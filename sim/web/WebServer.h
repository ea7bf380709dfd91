// The browser front end's HTTP server: the page, JSON over HTTP for actions and inspection, and
// Server-Sent Events for the screens' pictures, the timeline and the controls' state.
//
//   GET  /                       the page (and /app.js, /style.css)
//   GET  /api/device             {"width", "height", "scale"} of the screen, in points
//   GET  /api/inspect/SCREEN     the screen's view tree (as `hushmark-sim inspect` prints it)
//   GET  /api/events             the event stream: "screen" {"screen", "version", "png"} when a
//                                screen's picture changed, "timeline" {"lines"}, "state" {...}
//   POST /api/action             an action (Actions.h), Content-Type application/json
//
// Safety: a request whose Host is not the bound host, localhost or a loopback address is refused
// (403), against DNS rebinding; a POST must be JSON, and its Origin, when it has one, the page's
// own; bodies are capped (413). Every refusal is a JSON {"error": MESSAGE}. The connections, the
// viewers and the time a request may take are bounded (HttpServer.h), and no connection holds a
// thread while it waits.
#pragma once

#include "DeviceHost.h"
#include "HttpServer.h"

#include <string>

namespace sim::web {

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8026; // 0: one the system chooses
    HttpLimits limits = {};
};

class WebServer {
  public:
    static constexpr size_t kBodyLimit = http::Limits{}.body;

    WebServer(DeviceHost& host, ServerOptions options);
    ~WebServer();
    // Binds the listening socket; "" on success, else why not.
    std::string bind();
    int port() const { return port_; }
    // Serves on its own threads until `stop`.
    void start();
    // Stops listening, ends every event stream (the device host stopped first) and joins.
    void stop();

  private:
    Routed route(http::Request& request);

    DeviceHost& host_;
    ServerOptions options_;
    HttpServer server_;
    int port_ = 0;
    bool started_ = false;
};

} // namespace sim::web
