#include "WebServer.h"

#include "Actions.h"
#include "PageAssets.h"

#include <httplib.h>

namespace sim::web {
namespace {
constexpr size_t kServerThreads = 24; // each viewer's event stream holds one
constexpr auto kKeepAlive = std::chrono::seconds(15);

void send(httplib::Response& res, const Reply& reply) {
    res.status = reply.status;
    res.set_content(reply.body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), "application/json");
}

// The host name of a Host header, without its port ("[::1]:8026" -> "::1").
std::string hostName(const std::string& header) {
    if (!header.empty() && header[0] == '[') {
        const size_t close = header.find(']');
        return close == std::string::npos ? header : header.substr(1, close - 1);
    }
    return header.substr(0, header.find(':'));
}

std::string sseMessage(const char* event, const nlohmann::json& data) {
    return std::string("event: ") + event + "\ndata: " + data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n\n";
}
} // namespace

struct WebServer::Impl {
    DeviceHost& host;
    ServerOptions options;
    httplib::Server server;

    Impl(DeviceHost& h, ServerOptions o) : host(h), options(std::move(o)) {}

    bool allowedHost(const httplib::Request& req) const {
        const std::string name = hostName(req.get_header_value("Host"));
        return name == options.host || name == "localhost" || name == "127.0.0.1" || name == "::1";
    }

    // Refusals before routing; true when the request was answered.
    bool refuse(const httplib::Request& req, httplib::Response& res) const {
        if (!allowedHost(req)) {
            send(res, Reply::error(403, "this server answers only to " + options.host + " or localhost"));
            return true;
        }
        if (req.method == "POST") {
            const std::string type = req.get_header_value("Content-Type");
            if (type.rfind("application/json", 0) != 0) {
                send(res, Reply::error(415, "actions are JSON: send Content-Type application/json"));
                return true;
            }
            if (req.has_header("Origin") && req.get_header_value("Origin") != "http://" + req.get_header_value("Host")) {
                send(res, Reply::error(403, "actions come only from the page this server serves"));
                return true;
            }
        }
        return false;
    }

    void routes() {
        server.new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
        server.set_payload_max_length(kBodyLimit);
        server.set_keep_alive_timeout(1);
        server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
            return refuse(req, res) ? httplib::Server::HandlerResponse::Handled : httplib::Server::HandlerResponse::Unhandled;
        });
        server.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
            if (!res.body.empty()) return;
            std::string message = res.status == 404   ? "no such page or route: " + req.method + " " + req.path.substr(0, 100)
                                  : res.status == 413 ? "the body is larger than " + std::to_string(kBodyLimit / 1024) + " KiB"
                                                      : "the request was refused (" + std::to_string(res.status) + ")";
            send(res, Reply::error(res.status, message));
        });
        server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            send(res, Reply::error(500, "the server failed on this request"));
        });
        for (const PageAsset& asset : pageAssets()) {
            server.Get(asset.path, [&asset](const httplib::Request&, httplib::Response& res) {
                res.set_header("Cache-Control", "no-store");
                res.set_content(std::string(asset.content), asset.type);
            });
        }
        server.Get("/api/device", [this](const httplib::Request&, httplib::Response& res) {
            send(res, host.call([](Device& d) {
                return Reply::ok({{"width", d.setup().screen.width}, {"height", d.setup().screen.height}, {"scale", d.setup().scale}});
            }));
        });
        server.Get(R"(/api/inspect/([a-z]+))", [this](const httplib::Request& req, httplib::Response& res) {
            auto screen = screenNamed(req.matches[1]);
            if (!screen) return send(res, Reply::error(404, "no screen \"" + std::string(req.matches[1]).substr(0, 40) + "\"; screens: springboard settings"));
            send(res, host.call([s = *screen](Device& d) { return Reply::ok(d.inspect(s)); }));
        });
        server.Post("/api/action", [this](const httplib::Request& req, httplib::Response& res) {
            nlohmann::json request = nlohmann::json::parse(req.body, nullptr, false);
            if (request.is_discarded()) return send(res, Reply::error(400, "the body is not valid JSON"));
            send(res, performAction(host, request));
        });
        server.Get("/api/events", [this](const httplib::Request&, httplib::Response& res) {
            auto cursor = std::make_shared<Publication::Cursor>();
            auto first = std::make_shared<bool>(true);
            res.set_header("Cache-Control", "no-store");
            res.set_chunked_content_provider("text/event-stream", [this, cursor, first](size_t, httplib::DataSink& sink) {
                if (*first) {
                    *first = false;
                    const std::string hello = "retry: 500\n\n";
                    return sink.write(hello.data(), hello.size());
                }
                Publication::Update update = host.publication().next(*cursor, kKeepAlive);
                if (update.stopped) {
                    sink.done();
                    return true;
                }
                std::string out;
                for (const auto& [screen, picture] : update.pictures)
                    out += "event: screen\ndata: {\"screen\":\"" + std::string(screenName(Screen(screen))) + "\",\"version\":" +
                           std::to_string(picture.version) + ",\"png\":\"" + *picture.png + "\"}\n\n";
                if (!update.lines.empty()) out += sseMessage("timeline", {{"lines", update.lines}});
                if (!update.state.empty()) out += "event: state\ndata: " + update.state + "\n\n";
                if (out.empty()) out = ": still here\n\n";
                return sink.write(out.data(), out.size());
            });
        });
    }
};

WebServer::WebServer(DeviceHost& host, ServerOptions options) : impl_(std::make_unique<Impl>(host, std::move(options))) {
    impl_->routes();
}

WebServer::~WebServer() { stop(); }

std::string WebServer::bind() {
    auto& o = impl_->options;
    port_ = o.port == 0 ? impl_->server.bind_to_any_port(o.host) : (impl_->server.bind_to_port(o.host, o.port) ? o.port : -1);
    if (port_ <= 0) return "cannot listen on " + o.host + " port " + std::to_string(o.port) + " (in use, or not an address of this machine)";
    return "";
}

void WebServer::start() {
    thread_ = std::thread([this] { impl_->server.listen_after_bind(); });
}

void WebServer::stop() {
    if (!thread_.joinable()) return;
    impl_->server.stop();
    thread_.join();
}

} // namespace sim::web
