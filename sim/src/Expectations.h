// A scenario's expectations, checked against what the device shows and did (its inspection,
// its pictures and its events). Each answers "" when it holds, else what was seen.
#pragma once

#include "Steps.h"

#include <cstddef>
#include <string>

namespace sim {

class Device;

struct EventCursors {
    size_t matched = 0;     // `expect event` looks from here: past the last event it matched
    size_t actionStart = 0; // `expect no-event` looks from here: the start of the last step that
                            // was not an expectation
};

std::string checkExpectation(Device& device, const Expectation& expectation, EventCursors& cursors,
                             const std::string& timeZone);

} // namespace sim
