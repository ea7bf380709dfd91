#include "WebServer.h"

#include "Actions.h"
#include "PageAssets.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"

namespace sim::web {
namespace {
Response json(const Reply& reply) {
    return {reply.status, "application/json",
            reply.body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)};
}

Routed answer(Response r) {
    Routed routed;
    routed.answer = std::move(r);
    return routed;
}

Routed work(std::function<Response()> w) {
    Routed routed;
    routed.kind = Routed::Kind::Work;
    routed.work = std::move(w);
    return routed;
}

std::string sseMessage(const char* event, const nlohmann::json& data) {
    return std::string("event: ") + event +
           "\ndata: " + data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n\n";
}

// One viewer's event stream: what changed in the publication since it last looked.
class PublicationStream : public EventStream {
  public:
    explicit PublicationStream(Publication& publication) : publication_(publication) {}

    std::string poll(bool& ended) override {
        std::string out = first_ ? "retry: 500\n\n" : "";
        first_ = false;
        Publication::Update update = publication_.next(cursor_, std::chrono::milliseconds(0));
        ended = update.stopped;
        for (const auto& [screen, picture] : update.pictures)
            out += "event: screen\ndata: {\"screen\":\"" + std::string(screenName(Screen(screen))) +
                   "\",\"version\":" + std::to_string(picture.version) + ",\"png\":\"" + *picture.png +
                   "\"}\n\n";
        for (const auto& [screen, tiles] : update.tiles)
            out += "event: tiles\ndata: " + *tiles.json + "\n\n";
        if (!update.lines.empty())
            out += sseMessage("timeline", {{"lines", update.lines}});
        if (!update.state.empty())
            out += "event: state\ndata: " + update.state + "\n\n";
        return out;
    }

  private:
    Publication& publication_;
    Publication::Cursor cursor_;
    bool first_ = true;
};

bool isLowerWord(const std::string& s) {
    return !s.empty() && s.size() <= 40 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}
} // namespace

WebServer::WebServer(DeviceHost& host, ServerOptions options)
    : host_(host), options_(std::move(options)),
      server_(options_.host, options_.limits, [this](http::Request& request) { return route(request); }) {}

WebServer::~WebServer() {
    stop();
}

// On the server's I/O thread: the page's files at once, the device's answers on a worker.
Routed WebServer::route(http::Request& request) {
    const std::string& path = request.path;
    const bool get = request.method == "GET", post = request.method == "POST";
    for (const PageAsset& asset : pageAssets()) {
        if (path != asset.path)
            continue;
        if (!get)
            return answer(errorResponse(405, "use GET for " + path));
        return answer({200, asset.type, std::string(asset.content)});
    }
    if (path == "/api/device" || path == "/api/events" || path == "/api/session.scn" ||
        path.rfind("/api/inspect/", 0) == 0) {
        if (!get)
            return answer(errorResponse(405, "use GET for " + path.substr(0, 100)));
    } else if (path == "/api/action") {
        if (!post)
            return answer(errorResponse(405, "use POST for /api/action"));
    }
    if (path == "/api/device") {
        return work([this] {
            return json(host_.call([](Device& d) {
                const auto global =
                    dictionaryWithContentsOfFile(kGlobalPreferencesPath).value_or(PlistDict{});
                return Reply::ok({{"width", d.setup().screen.width},
                                  {"height", d.setup().screen.height},
                                  {"scale", d.setup().scale},
                                  {"locale", valueForKey(global, "AppleLocale").asString()},
                                  {"timeZone", d.world().timeZone()}});
            }));
        });
    }
    if (path.rfind("/api/inspect/", 0) == 0 && isLowerWord(path.substr(13))) {
        auto screen = screenNamed(path.substr(13));
        if (!screen)
            return answer(json(Reply::error(404, "no screen \"" + path.substr(13) +
                                                     "\"; screens: springboard settings phone")));
        return work([this, s = *screen] {
            return json(host_.call([s](Device& d) { return Reply::ok(d.inspection().inspect(s)); }));
        });
    }
    if (path == "/api/session.scn") {
        return work([this] {
            Reply r = host_.call([this](Device& d) { return Reply::ok(host_.session().scenario(d.now())); });
            if (r.status != 200)
                return json(r);
            return Response{200, "text/plain; charset=utf-8", r.body.get<std::string>()};
        });
    }
    if (path == "/api/action") {
        return work([this, body = std::move(request.body)] {
            nlohmann::json action = nlohmann::json::parse(body, nullptr, false);
            if (action.is_discarded())
                return json(Reply::error(400, "the body is not valid JSON"));
            return json(performAction(host_, action));
        });
    }
    if (path == "/api/events") {
        Routed routed;
        routed.kind = Routed::Kind::Stream;
        routed.stream = std::make_unique<PublicationStream>(host_.publication());
        host_.viewerJoined();
        return routed;
    }
    return answer(errorResponse(404, "no such page or route: " + request.method + " " + path.substr(0, 100)));
}

std::string WebServer::bind() {
    port_ = 0;
    std::string e = server_.bind(options_.port);
    if (e.empty())
        port_ = server_.port();
    return e;
}

void WebServer::start() {
    host_.publication().setNotify([this] { server_.wake(); });
    server_.start();
    started_ = true;
}

void WebServer::stop() {
    if (!started_)
        return;
    started_ = false;
    host_.publication().setNotify(nullptr);
    server_.stop();
}

} // namespace sim::web
