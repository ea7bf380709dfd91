// What reading a request came to, in a form two readings can be compared by, and a request read
// in pieces as a connection's reads might bring it: the same bytes must give the same outcome
// however they arrive.
#pragma once

#include "HttpRequest.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace sim::web::http {

struct ParseOutcome {
    RequestParser::State state = RequestParser::State::NeedMore;
    int status = 0;      // when refused
    size_t consumed = 0; // when done: the bytes the request took
    std::string body;    // when done
    bool operator==(const ParseOutcome&) const = default;
};

ParseOutcome parseOutcome(const RequestParser& parser, RequestParser::State state);

// Offers `input` to the parser `step` bytes more each call (the last call offers it all) until
// the parser is done or refuses. Returns the last state.
RequestParser::State parseInPieces(RequestParser& parser, std::string_view input, size_t step);

} // namespace sim::web::http
