// The screens `hushmark-sim snapshot` draws, each reached by a short built-in scenario.
#pragma once

#include <map>
#include <string>

namespace sim {
// Screen name → a scenario whose last step is `snapshot … @OUT@` (replaced by the file).
const std::map<std::string, std::string>& screenScenarios();
} // namespace sim
