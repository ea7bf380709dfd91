#include "ParseOutcome.h"

#include <algorithm>

namespace sim::web::http {

ParseOutcome parseOutcome(const RequestParser& parser, RequestParser::State state) {
    ParseOutcome o{state, 0, 0, ""};
    if (state == RequestParser::State::Refused)
        o.status = parser.refusal().status;
    if (state == RequestParser::State::Done) {
        o.consumed = parser.consumed();
        o.body = parser.request().body;
    }
    return o;
}

RequestParser::State parseInPieces(RequestParser& parser, std::string_view input, size_t step) {
    step = std::max<size_t>(step, 1);
    RequestParser::State s = RequestParser::State::NeedMore;
    for (size_t n = std::min(step, input.size()); s == RequestParser::State::NeedMore;
         n = std::min(n + step, input.size())) {
        s = parser.parse(input.substr(0, n));
        if (n == input.size())
            break;
    }
    return s;
}

} // namespace sim::web::http
