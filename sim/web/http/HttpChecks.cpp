#include "HttpChecks.h"

#include <algorithm>
#include <string>

namespace sim::web::http {
namespace {
bool digits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto low = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return low(x) == low(y);
           });
}

// 127.0.0.0/8 in dotted decimal: four numbers up to 255, no leading zeros.
bool loopbackV4(std::string_view s) {
    int parts = 0;
    for (size_t at = 0; at <= s.size(); ++parts) {
        const size_t dot = std::min(s.find('.', at), s.size());
        const std::string_view part = s.substr(at, dot - at);
        if (!digits(part) || part.size() > 3 || (part.size() > 1 && part[0] == '0') ||
            std::stoi(std::string(part)) > 255)
            return false;
        if (parts == 0 && part != "127")
            return false;
        at = dot + 1;
    }
    return parts == 4;
}
} // namespace

bool hostAllowed(std::string_view host, std::string_view boundHost) {
    std::string_view name, rest;
    const bool bracketed = !host.empty() && host[0] == '[';
    if (bracketed) {
        const size_t close = host.find(']');
        if (close == std::string_view::npos)
            return false;
        name = host.substr(1, close - 1);
        rest = host.substr(close + 1);
    } else {
        const size_t colon = host.find(':');
        name = host.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : host.substr(colon);
    }
    if (!rest.empty()) {
        const std::string_view port = rest.substr(1);
        if (rest[0] != ':' || !digits(port) || port.size() > 5)
            return false;
        const int number = std::stoi(std::string(port));
        if (number < 1 || number > 65535)
            return false;
    }
    const bool boundV6 = boundHost.find(':') != std::string_view::npos;
    if (bracketed)
        return name == "::1" || (boundV6 && equalNoCase(name, boundHost));
    if (name.empty())
        return false;
    return equalNoCase(name, "localhost") || loopbackV4(name) || (!boundV6 && equalNoCase(name, boundHost));
}

std::optional<Refusal> checkRequest(const Request& request, std::string_view boundHost) {
    const std::string* host = request.field("host");
    if (!host || request.count("host") != 1)
        return Refusal{400, "a request names exactly one Host"};
    if (!hostAllowed(*host, boundHost))
        return Refusal{403, "this server answers only to " + std::string(boundHost) + " or localhost"};
    if (request.method != "POST")
        return std::nullopt;
    const std::string* type = request.field("content-type");
    std::string media = type ? type->substr(0, type->find(';')) : "";
    while (!media.empty() && (media.back() == ' ' || media.back() == '\t'))
        media.pop_back();
    if (request.count("content-type") != 1 || !equalNoCase(media, "application/json"))
        return Refusal{415, "actions are JSON: send Content-Type application/json"};
    if (request.count("origin") > 1)
        return Refusal{400, "a request names at most one Origin"};
    if (const std::string* origin = request.field("origin")) {
        if (origin->empty())
            return Refusal{403,
                           "an empty Origin is refused: actions come only from the page this server serves"};
        if (*origin != "http://" + *host)
            return Refusal{403, "actions come only from the page this server serves"};
    }
    return std::nullopt;
}

} // namespace sim::web::http
