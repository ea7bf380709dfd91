// hushmark-sim: boots a virtual device from a folder and runs both deliverables in it.
//
//   hushmark-sim init ROOT [--with libstatusbar,flipswitch,...] [--locale ID] [--timezone NAME] [--languages
//   de,en]
//                          [--screen 375x667] [--springboard-without CLASS,...] [--timer-slack 30s]
//   hushmark-sim run SCENARIO|- [--root ROOT] [--snapshots DIR] [--json]
//   hushmark-sim inspect springboard|settings|phone [--root ROOT]
//   hushmark-sim serve [--root ROOT] [--port 8026] [--host 127.0.0.1] [--with ...] [--locale ID] [--timezone
//   NAME] ... hushmark-sim demo [--out DIR] hushmark-sim snapshot SCREEN --out FILE.png hushmark-sim list
#include "BuiltinScenarios.h"
#include "CommandLine.h"
#include "ScenarioFiles.h"
#include "StepWriter.h"
#include "Runner.h"
#include "Scenario.h"
#include "Screens.h"
#include "Serve.h"
#include "words/Words.h"

#include "device/Device.h"
#include "device/DeviceImage.h"
#include "device/LocalTime.h"
#include "device/RootLock.h"
#include "device/StopSignals.h"
#include "device/TemporaryRoot.h"
#include "foundation/DeviceEnvironment.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using sim::Args;
using sim::parseArgs;

namespace {

const char* kUsage =
    "usage:\n"
    "  hushmark-sim init ROOT [--with libstatusbar8,libstatusbar,flipswitch,hushmarkfs,protean]\n"
    "                         [--locale ID] [--timezone NAME] [--languages CODE,...]\n"
    "                         [--screen 320x568|375x667|414x736] [--springboard-without CLASS,...]\n"
    "                         [--timer-slack DURATION]\n"
    "  hushmark-sim run SCENARIO [--root ROOT] [--snapshots DIR] [--json]\n"
    "  hushmark-sim inspect springboard|settings|phone [--root ROOT]\n"
    "  hushmark-sim serve [--root ROOT] [--port 8026] [--host 127.0.0.1] [device options of init]\n"
    "  hushmark-sim serve --play SCENARIO [--speed N] [--port 8026] [--host 127.0.0.1]\n"
    "  hushmark-sim demo [--out DIR]\n"
    "  hushmark-sim snapshot SCREEN --out FILE.png\n"
    "  hushmark-sim list\n"
    "SCENARIO is a file, - for standard input, or the name of a built-in scenario (see\n"
    "`hushmark-sim list`); a scenario holds at most 1 MiB.\n";

int usageError(const std::string& message) {
    std::cerr << "hushmark-sim: " << message << "\n" << kUsage;
    return 2;
}

std::string selfPath() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

using sim::makeTemporaryRoot;

int cmdInit(int argc, char** argv) {
    Args args;
    std::string error;
    if (!parseArgs(argc, argv, 2, sim::deviceImageOptionNames(), {}, args, error))
        return usageError(error);
    if (args.positional.size() != 1)
        return usageError("init takes one ROOT folder");
    sim::DeviceImageOptions options;
    if (std::string e = sim::deviceImageOptions(args, options); !e.empty())
        return usageError(e);
    std::string e = sim::layDeviceImage(args.positional[0], options);
    if (!e.empty()) {
        std::cerr << "hushmark-sim init: " << e << "\n";
        return 1;
    }
    std::cout << "device laid out in " << args.positional[0] << "\n";
    return 0;
}

// Runs scenario text on a device root (a temporary one when `root` is empty).
int runScenario(const std::string& text, const std::string& name, fs::path root, const fs::path& snapshots,
                fs::path scenarioFile, bool resume, bool temporaryRoot, bool json = false) {
    if (temporaryRoot)
        DeviceEnvironment::setRoot(root, RootDurability::Scratch); // a respring's relaunch
    sim::stopsignals::catchThem(); // before a temporary root exists, so that a stop removes it
    // Every way out from here removes a temporary root; after a stop signal the exit status is
    // 128 + the signal, as for a shell.
    auto finish = [&](int code) {
        std::error_code ec;
        if (temporaryRoot && !root.empty())
            fs::remove_all(root, ec);
        const int stop = sim::stopsignals::caught();
        if (stop)
            std::cerr << "hushmark-sim: stopped by a signal (" << strsignal(stop) << ")\n";
        return stop ? 128 + stop : code;
    };
    sim::Scenario scenario;
    if (auto err = sim::parseScenario(text, name, scenario)) {
        std::cerr << sim::excerpt(name, 80) << ":" << err->line << ": " << err->message << "\n";
        return finish(1);
    }
    std::string locked = root.empty() || !fs::is_directory(root) ? "" : sim::lockDeviceRoot(root);
    if (!locked.empty())
        return std::cerr << "hushmark-sim: " << locked << "\n", 1;
    if (!resume) {
        // The setup lines a scenario gives override the root's; the rest stays as the root has it.
        const sim::DeviceImageOptions options = sim::scenarioImage(
            scenario.settings,
            !root.empty() && fs::is_directory(root) ? sim::readDeviceSetup(root) : sim::DeviceSetup{});
        std::string e;
        if (root.empty()) {
            root = makeTemporaryRoot();
            temporaryRoot = true;
            e = root.empty() ? "cannot make a temporary device root" : sim::layDeviceImage(root, options);
            if (e.empty())
                e = sim::lockDeviceRoot(root);
        } else if (!fs::is_directory(root)) {
            e = root.string() + " is not a device root (make one with hushmark-sim init)";
        } else {
            e = sim::writeDeviceSettings(root, options);
        }
        if (!e.empty()) {
            std::cerr << "hushmark-sim: " << e << "\n";
            return finish(1);
        }
    }
    // A respring relaunches this program; it needs the scenario as a file, named as the
    // scenario is so that its messages name the same scenario after the relaunch.
    if (scenarioFile.empty()) {
        std::error_code ec;
        fs::create_directories(root / ".hushmark-sim", ec);
        scenarioFile = root / ".hushmark-sim" / (name + ".scn");
        std::ofstream(scenarioFile) << text;
    }
    sim::RunOptions options{root, snapshots, scenarioFile, selfPath(), resume, json};
    if (temporaryRoot)
        setenv("HUSHMARK_SIM_TEMPORARY_ROOT", root.c_str(), 1);
    int code = sim::Runner(scenario, options, std::cout, std::cerr).run();
    std::cout.flush();
    return finish(code);
}

int cmdRun(int argc, char** argv) {
    Args args;
    std::string error;
    if (!parseArgs(argc, argv, 2, {"root", "snapshots"}, {"resume", "json"}, args, error))
        return usageError(error);
    if (args.positional.size() != 1)
        return usageError("run takes one SCENARIO");
    std::string text, name;
    if (!sim::loadScenario(args.positional[0], sim::builtinScenarios(), text, name, error)) {
        std::cerr << "hushmark-sim: " << error << "\n";
        return 1;
    }
    bool resume = args.options.count("resume") > 0;
    if (resume && !args.options.count("root"))
        return usageError("--resume needs --root");
    const char* temp = std::getenv("HUSHMARK_SIM_TEMPORARY_ROOT");
    bool temporaryRoot = resume && temp && args.options["root"] == temp;
    // A respring reads the scenario again: from its file, else from a copy in the root.
    const std::string& given = args.positional[0];
    fs::path file = given != "-" && fs::is_regular_file(given) ? fs::path(given) : fs::path();
    return runScenario(text, name, args.options["root"], args.options["snapshots"], file, resume,
                       temporaryRoot, args.options.count("json") > 0);
}

// Boots a device (on ROOT, or on a temporary default one) and prints a screen's view tree as
// JSON. Settings shows Hushmark's page; the phone its home screen.
int cmdInspect(int argc, char** argv) {
    Args args;
    std::string error;
    if (!parseArgs(argc, argv, 2, {"root"}, {}, args, error))
        return usageError(error);
    if (args.positional.size() != 1)
        return usageError("inspect takes one SCREEN: springboard, settings or phone");
    auto screen = sim::screenNamed(args.positional[0]);
    if (!screen)
        return usageError("no screen \"" + sim::excerpt(args.positional[0]) +
                          "\"; screens: springboard settings phone");
    fs::path root = args.options["root"];
    bool temporary = root.empty();
    std::string e;
    if (temporary) {
        root = makeTemporaryRoot();
        e = root.empty() ? "cannot make a temporary device root" : sim::layDeviceImage(root, {});
    } else if (!fs::is_directory(root)) {
        e = root.string() + " is not a device root (make one with hushmark-sim init)";
    } else {
        e = sim::lockDeviceRoot(root);
    }
    if (!e.empty()) {
        std::cerr << "hushmark-sim: " << e << "\n";
        return 1;
    }
    int code = 0;
    {
        sim::Device device({root, *sim::dateFromLocal("2026-12-07 08:00:00", "UTC"), false});
        e = device.boot();
        if (e.empty() && *screen == sim::Screen::Settings)
            e = device.input().openSettings();
        if (e.empty())
            std::cout << device.inspection().inspect(*screen).dump(2, ' ', false,
                                                                   nlohmann::json::error_handler_t::replace)
                      << "\n";
        else
            std::cerr << "hushmark-sim inspect: " << e << "\n", code = 1;
    }
    if (temporary) {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    return code;
}

// `serve --play SCENARIO [--speed N]`: the scenario read and checked, into `serve`; "" when
// it can be played, else what is wrong. Its device is its own: no other device option goes with it.
std::string playOptions(Args& args, sim::web::ServeOptions& serve, bool relaunched) {
    if (!args.options.count("play"))
        return "--speed goes with --play SCENARIO";
    for (const std::string& option : sim::deviceImageOptionNames())
        if (args.options.count(option) && !relaunched)
            return "--" + option + " does not go with --play: the scenario's own lines set the device up";
    if (!args.options["root"].empty() && !serve.resume && !relaunched)
        return "--root does not go with --play: the scenario's device is laid out afresh";
    sim::web::PlayOptions play;
    if (args.options.count("speed")) {
        const std::string& given = args.options["speed"];
        auto speed = sim::parseReal(given, 1e6);
        if (!speed || *speed <= 0)
            return "--speed takes how many times faster than real time to play, a number above 0 such as 1, "
                   "10 "
                   "or 0.5, not \"" +
                   sim::excerpt(given) + "\"";
        play.speed = *speed;
    }
    std::string text, name, error;
    if (!sim::loadScenario(args.options["play"], sim::builtinScenarios(), text, name, error))
        return error;
    if (auto bad = sim::parseScenario(text, name, play.scenario))
        return sim::excerpt(name, 80) + ":" + std::to_string(bad->line) + ": " + bad->message;
    const fs::path file = args.options["play"];
    play.argv = {"--play", fs::exists(file) ? fs::absolute(file).string() : file.string(), "--speed",
                 sim::writeNumber(play.speed)};
    serve.play = std::move(play);
    return "";
}

// Serves one device to browsers: on ROOT (laid out when it does not exist yet) or on a temporary
// root, until Ctrl-C.
int cmdServe(int argc, char** argv) {
    Args args;
    std::string error;
    std::vector<std::string> valued = sim::deviceImageOptionNames();
    valued.insert(valued.end(), {"root", "port", "host", "play", "speed"});
    if (!parseArgs(argc, argv, 2, valued, {"resume", "fresh"}, args, error))
        return usageError(error);
    if (!args.positional.empty())
        return usageError("serve takes no words, only options");
    // Relaunched by the server itself: after a respring (resume) or a reset (fresh, the root laid
    // out anew already).
    const bool fresh = args.options.count("fresh") > 0;
    sim::web::ServeOptions serve;
    if (args.options.count("host"))
        serve.server.host = args.options["host"];
    if (serve.server.host.empty() || serve.server.host.size() > 255)
        return usageError("--host takes an address such as 127.0.0.1");
    if (args.options.count("port")) {
        auto port = sim::parseInteger(args.options["port"], 0, 65535);
        if (!port)
            return usageError("--port takes a number from 0 (any free port) to 65535");
        serve.server.port = int(*port);
    }
    serve.resume = args.options.count("resume") > 0;
    fs::path root = args.options["root"];
    if (args.options.count("play") || args.options.count("speed")) {
        if (std::string e = playOptions(args, serve, fresh); !e.empty())
            return std::cerr << "hushmark-sim serve: " << e << "\n", 2;
        if (fresh) // a reset: the person takes the device over
            serve.play.reset();
        // The scenario's first lines lay the device out, on a root of its own.
        if (serve.play && !serve.resume) {
            root = makeTemporaryRoot();
            std::string e =
                root.empty() ? "cannot make a temporary device root"
                             : sim::layDeviceImage(root, sim::scenarioImage(serve.play->scenario.settings));
            if (e.empty())
                e = sim::lockDeviceRoot(root);
            if (!e.empty())
                return std::cerr << "hushmark-sim: " << e << "\n", 1;
            setenv("HUSHMARK_SIM_TEMPORARY_ROOT", root.c_str(), 1);
        }
    }
    // A device laid out now is ready at first sight: libstatusbar installed (the status-bar icon
    // shows) and the host's own time zone, unless the options say otherwise.
    sim::DeviceImageOptions image;
    if (!serve.resume && !fresh && (root.empty() || !fs::exists(root))) {
        image.addons = {"libstatusbar"};
        image.timeZone = sim::hostTimeZone();
    }
    if (std::string e = sim::deviceImageOptions(args, image); !e.empty())
        return usageError(e);
    bool temporary = false;
    std::string e;
    if (serve.play && !serve.resume) {
        temporary = true;
    } else if (serve.resume || fresh) {
        const char* temp = std::getenv("HUSHMARK_SIM_TEMPORARY_ROOT");
        temporary = temp && root == temp;
        if (temporary)
            DeviceEnvironment::setRoot(root, RootDurability::Scratch);
        if (root.empty())
            return usageError(serve.resume ? "--resume needs --root" : "--fresh needs --root");
    } else if (root.empty()) {
        root = makeTemporaryRoot();
        temporary = true;
        e = root.empty() ? "cannot make a temporary device root" : sim::layDeviceImage(root, image);
    } else if (!fs::exists(root)) {
        e = sim::layDeviceImage(root, image);
    } else if (!fs::is_directory(root)) {
        e = root.string() + " is not a device root (make one with hushmark-sim init)";
    } else if (args.options.count("with")) {
        e = "add-ons are chosen when a root is laid out: use a new --root, or hushmark-sim init";
    } else if (e = sim::lockDeviceRoot(root); e.empty()) {
        e = sim::writeDeviceSettings(root, image);
    }
    if (e.empty())
        e = sim::lockDeviceRoot(root); // held already, or a root laid out just now
    if (!e.empty()) {
        std::cerr << "hushmark-sim: " << e << "\n";
        return 1;
    }
    if (temporary)
        setenv("HUSHMARK_SIM_TEMPORARY_ROOT", root.c_str(), 1);
    serve.root = root;
    serve.relaunchArgv = {selfPath(), "serve", "--root", root.string(), "--host", serve.server.host};
    int code = sim::web::serve(serve, std::cout, std::cerr);
    if (temporary) {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    return code;
}

int cmdDemo(int argc, char** argv) {
    Args args;
    std::string error;
    if (!parseArgs(argc, argv, 2, {"out"}, {}, args, error))
        return usageError(error);
    if (!args.positional.empty())
        return usageError("demo takes no words, only --out DIR");
    fs::path out = args.options.count("out") ? fs::path(args.options["out"]) : fs::path("hushmark-demo");
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        std::cerr << "hushmark-sim: cannot make " << out.string() << ": " << ec.message() << "\n";
        return 1;
    }
    int code =
        runScenario(sim::builtinScenarios().at("demo"), "demo", {}, fs::absolute(out), {}, false, true);
    if (code == 0)
        std::cout << "\nsnapshots of the main screens are in " << fs::absolute(out).string() << "\n";
    return code;
}

int cmdSnapshot(int argc, char** argv) {
    Args args;
    std::string error;
    if (!parseArgs(argc, argv, 2, {"out"}, {}, args, error))
        return usageError(error);
    const auto& screens = sim::screenScenarios();
    std::string names;
    for (const auto& [n, s] : screens)
        names += " " + n;
    if (args.positional.size() != 1)
        return usageError("snapshot takes one SCREEN:" + names);
    if (!screens.count(args.positional[0]))
        return usageError("no screen \"" + sim::excerpt(args.positional[0]) + "\"; screens:" + names);
    if (!args.options.count("out"))
        return usageError("snapshot needs --out FILE.png");
    // The picture is the run's one output: its file name, written into the folder of --out.
    const fs::path out = fs::absolute(args.options["out"]);
    if (!out.has_filename())
        return usageError("snapshot needs --out FILE.png, a file");
    std::string text = screens.at(args.positional[0]);
    text.replace(text.find("@OUT@"), 5, "\"" + out.filename().string() + "\"");
    std::ostringstream timeline;
    auto* old = std::cout.rdbuf(timeline.rdbuf());
    int code = runScenario(text, args.positional[0], {}, out.parent_path(), {}, false, true);
    std::cout.rdbuf(old);
    if (code == 0)
        std::cout << "wrote " << args.options["out"] << "\n";
    return code;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usageError("no command");
    std::string command = argv[1];
    if (command == "init")
        return cmdInit(argc, argv);
    if (command == "run")
        return cmdRun(argc, argv);
    if (command == "inspect")
        return cmdInspect(argc, argv);
    if (command == "serve")
        return cmdServe(argc, argv);
    if (command == "demo")
        return cmdDemo(argc, argv);
    if (command == "snapshot")
        return cmdSnapshot(argc, argv);
    if (command == "list") {
        for (const auto& [name, text] : sim::builtinScenarios())
            std::cout << name << "\n";
        return 0;
    }
    if (command == "help" || command == "--help" || command == "-h") {
        std::cout << kUsage;
        return 0;
    }
    return usageError("unknown command \"" + sim::excerpt(command) + "\"");
}
