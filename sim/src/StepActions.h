// What a scenario step does to a device, for every front end that plays steps (the scenario
// runner, and the browser device playing a scenario): each step one call of the device, through
// the same touches and shorthands. Steps that are the front end's own (boot order, respring,
// add-on choices, files written beside the run, expectations) are left to it.
#pragma once

#include "Steps.h"

#include "device/Device.h"

#include <optional>
#include <string>

namespace sim {

// The step's effect: "" when done, else the device's reason; none for a front end's own step
// (step::Respring, step::Addon, step::Inspect, step::Snapshot, an Expectation).
std::optional<std::string> performStep(Device& device, const Action& action);

} // namespace sim
