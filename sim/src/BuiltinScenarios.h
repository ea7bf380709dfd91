// The scenarios shipped with the simulator (sim/scenarios/*.scn), built in by name.
#pragma once

#include <map>
#include <string>

namespace sim {
const std::map<std::string, std::string>& builtinScenarios();
} // namespace sim
