// Scenarios as the command line takes them: read from a file, standard input or by a built-in
// name, bounded in size; and the device a scenario's first lines describe.
#pragma once

#include "Scenario.h"

#include "device/DeviceImage.h"

#include <map>
#include <string>

namespace sim {

// A scenario by name: "-" is standard input, a built-in name (when no such file exists) the
// built-in scenario, anything else a file. False with `error` when it cannot be read, is not
// text, or is larger than 1 MiB.
bool loadScenario(const std::string& nameOrFile, const std::map<std::string, std::string>& builtin,
                  std::string& text, std::string& name, std::string& error);

// The device image a scenario's lines describe, its setup lines over `setup`.
DeviceImageOptions scenarioImage(const ScenarioSettings& settings, DeviceSetup setup = {});

} // namespace sim
