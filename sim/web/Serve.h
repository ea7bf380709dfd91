// `hushmark-sim serve`: one device on a laid-out root, served to browsers until SIGINT or SIGTERM
// (or a respring, which relaunches the program on the same root and port).
#pragma once

#include "Scenario.h"
#include "WebServer.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace sim::web {

// A scenario to play on the served device (`serve --play`).
struct PlayOptions {
    Scenario scenario;
    double speed = 1;
    std::vector<std::string> argv; // its options, for a respring's relaunch
};

struct ServeOptions {
    std::filesystem::path root; // laid out already
    bool resume = false;        // continuing after a respring
    ServerOptions server;
    // This program's command line for a respring's relaunch, without --port and --resume.
    std::vector<std::string> relaunchArgv;
    std::optional<PlayOptions> play;
};

// 0 after a clean shutdown; 1 when the device or the server cannot start (the reason on `err`).
int serve(const ServeOptions& options, std::ostream& out, std::ostream& err);

} // namespace sim::web
