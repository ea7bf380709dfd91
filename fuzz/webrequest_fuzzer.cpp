// The browser device's requests as a client may send them: the bytes read by the request parser
// (whole, and again in the pieces the first input byte chooses, which must give the same
// outcome), the request checked as the server checks it, and the body, when it is JSON, turned
// into an action (with the first byte's high bit set, the rest is taken as such a body alone). Checks: a
// request taken stays within the limits and names one Host; a Host taken holds nothing past its port; an
// action taken has its fields in range.
#include "ActionRequest.h"
#include "HttpChecks.h"
#include "HttpRequest.h"
#include "ParseOutcome.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
using sim::web::http::RequestParser;
using State = RequestParser::State;
using sim::web::http::parseOutcome;

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkAction(const std::string& body) {
    const nlohmann::json request = nlohmann::json::parse(body, nullptr, false);
    if (request.is_discarded())
        return;
    const std::vector<sim::web::ActionScreen> screens{
        {"springboard", 320, 568}, {"settings", 320, 1200}, {"phone", 320, 568}};
    const sim::web::ParsedAction parsed = sim::web::parseAction(request, screens);
    if (!parsed.action) {
        require(parsed.status == 400 && !parsed.error.empty());
        return;
    }
    const sim::web::Action& a = *parsed.action;
    if (a.name == "touch" || a.name == "tap") {
        require(a.screen < screens.size());
        require(a.x >= 0 && a.y >= 0 && a.x <= screens[a.screen].width && a.y <= screens[a.screen].height);
    }
    if (a.name == "rate")
        require(a.rate == 0 || a.rate == 1 || a.rate == 60 || a.rate == 3600);
    if (a.name == "addAlarm")
        require(a.secondsOfDay >= 0 && a.secondsOfDay < 86400);
    require(a.text.size() <= 1000 && a.label.size() <= 200);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const size_t step = data[0] % 64 + 1;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 0x80) { // the rest is an action's body, as the server passes it on
        checkAction(input);
        return 0;
    }
    const sim::web::http::Limits limits{1024, 16, 256, 2048};

    RequestParser whole(limits);
    const auto all = parseOutcome(whole, whole.parse(input));
    RequestParser pieces(limits);
    const auto piecewise = parseOutcome(pieces, sim::web::http::parseInPieces(pieces, input, step));
    require(all == piecewise);
    if (all.state == State::Refused)
        require(all.status >= 400 && all.status < 500 && !whole.refusal().message.empty());
    if (all.state != State::Done)
        return 0;

    const sim::web::http::Request& r = whole.request();
    require(all.consumed <= input.size() && r.body.size() <= limits.body && r.fields.size() <= limits.fields);
    require(r.count("host") == 1 && r.target.size() <= limits.target && !r.path.empty() && r.path[0] == '/');
    const std::string& host = *r.field("host");
    if (sim::web::http::hostAllowed(host, "127.0.0.1")) {
        const std::string_view name = host[0] == '[' ? std::string_view(host).substr(0, host.find(']') + 1)
                                                     : std::string_view(host).substr(0, host.find(':'));
        const std::string_view port = std::string_view(host).substr(name.size());
        require(port.empty() || (port[0] == ':' && port.size() >= 2 && port.size() <= 6 &&
                                 port.find_first_not_of("0123456789", 1) == std::string_view::npos));
        require(host.find_first_of("@/ \t?#\\") == std::string::npos);
    }
    const auto refusal = sim::web::http::checkRequest(r, "127.0.0.1");
    require(!refusal || (refusal->status >= 400 && refusal->status < 500 && !refusal->message.empty()));
    checkAction(r.body);
    return 0;
}
