// A scenario's expectations, checked against what the device shows and did (its inspection,
// its pictures and its events). Each answers "" when it holds, else what was seen.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sim {

class Device;

struct EventCursors {
    size_t matched = 0;     // `expect event` looks from here: past the last event it matched
    size_t actionStart = 0; // `expect no-event` looks from here: the start of the last step that
                            // was not an expectation
};

// `args` are the words after "expect", as the parser checked them.
std::string checkExpectation(Device& device, const std::vector<std::string>& args, EventCursors& cursors,
                             const std::string& timeZone);

} // namespace sim
