// The command line's words: options after the positional words, and the device options that
// `init` and `serve` share (add-ons, locale, time zone, languages, screen, missing SpringBoard
// classes, timer slack).
#pragma once

#include "device/DeviceImage.h"

#include <map>
#include <string>
#include <vector>

namespace sim {

// Options after the positional words: --name VALUE pairs and bare flags.
struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
};
// False with `error` for an unknown option or a missing value.
bool parseArgs(int argc, char** argv, int from, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, Args& out, std::string& error);

std::vector<std::string> splitComma(const std::string& s);

// The option names `deviceImageOptions` reads.
const std::vector<std::string>& deviceImageOptionNames();
// Fills `options` from the given device options; "" when they are valid, else what is wrong.
std::string deviceImageOptions(const Args& args, DeviceImageOptions& options);

} // namespace sim
