// What the browser device's server asks of a well-formed request before it routes it, against
// DNS rebinding and cross-site posts: pure functions of the request.
//
//   - Host is `host[:port]`: the host the server is bound to, `localhost`, 127.0.0.0/8 in plain
//     dotted decimal or `[::1]`, compared without regard to case; the port, when present, is
//     1 to 5 digits up to 65535. Anything else ("localhost:80@evil", "[localhost]",
//     "localhost.", "127.0.0.01") is refused with 403.
//   - A POST is JSON (Content-Type application/json, parameters allowed; 415 otherwise) and names
//     at most one Origin; an Origin, when present, is this server's own, "http://" followed by
//     the request's Host (403 otherwise, an empty one included).
#pragma once

#include "HttpRequest.h"

#include <optional>
#include <string_view>

namespace sim::web::http {

bool hostAllowed(std::string_view host, std::string_view boundHost);

// The refusal of a request the parser took, or none.
std::optional<Refusal> checkRequest(const Request& request, std::string_view boundHost);

} // namespace sim::web::http
