// `hushmark-sim serve`: the device booted on Hushmark's page, its host and its server, until a
// stop or a respring.
#include "Serve.h"

#include "ScenarioPlayer.h"
#include "SessionRecorder.h"
#include "StepActions.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"
#include "device/StopSignals.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <ostream>

namespace sim::web {

int serve(const ServeOptions& options, std::ostream& out, std::ostream& err) {
    stopsignals::catchThem();
    std::signal(SIGPIPE, SIG_IGN); // a viewer gone mid-write is an error on that write, not the end
    // The clock starts at the host's present moment, to the whole second (ignored on a resume).
    const double unixNow = std::floor(
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count());
    // A played scenario's device starts at its start, as `run` starts it.
    NSDate startAt = NSDate::dateWithTimeIntervalSince1970(unixNow);
    if (options.play)
        startAt =
            dateFromLocal(options.play->scenario.settings.start, options.play->scenario.settings.timeZone)
                .value_or(startAt);
    Device device({options.root, startAt, options.resume});
    if (!device.resumeError().empty()) {
        err << "hushmark-sim serve: " << device.resumeError() << '\n';
        return 1;
    }
    // The session's scenario starts with the device as it is before the boot.
    const ScenarioSettings setup = sessionSettings(device);
    const NSDate start = device.now();
    // A played scenario boots the device itself: its steps up to the boot run before the server
    // starts. A resumed device has booted already.
    size_t firstPlayed = 0;
    std::string e;
    if (options.play && options.resume) {
        firstPlayed = size_t(valueForKey(device.resumedFrontEndState(), "playStep").integerValue());
    } else if (options.play) {
        const auto& steps = options.play->scenario.steps;
        while (e.empty() && firstPlayed < steps.size() && !device.isBooted())
            e = performStep(device, steps[firstPlayed++].action).value_or("");
    } else if (!device.isBooted()) {
        e = device.boot();
    }
    if (!e.empty()) {
        err << "hushmark-sim serve: " << e << '\n';
        return 1;
    }
    // The phone shows its home screen, as a phone does when it starts.
    DeviceHost host(device, device.world().timeZone());
    if (options.resume) {
        host.session().restore(device.resumedFrontEndState());
    } else if (options.play) {
        host.session().begin(setup, start);
        for (size_t i = 0; i < firstPlayed; ++i)
            host.session().recordLine(options.play->scenario.steps[i].text, start, start, false);
    } else {
        host.session().beginBooted(setup, start);
    }
    // A fresh device's clock runs at 1x; a resumed one keeps the rate it had.
    // A played scenario alone moves the clock.
    host.setRate(options.play     ? 0
                 : options.resume ? valueForKey(device.resumedFrontEndState(), "rate").doubleValue()
                                  : 1);
    WebServer server(host, options.server);
    if (std::string e = server.bind(); !e.empty()) {
        err << "hushmark-sim serve: " << e << '\n';
        return 1;
    }
    const std::string& h = options.server.host;
    const std::string shown = h == "0.0.0.0" || h == "::"        ? "127.0.0.1"
                              : h.find(':') != std::string::npos ? "[" + h + "]"
                                                                 : h;
    out << (options.resume ? "springboard relaunched; " : "") << "Hushmark's device is at http://" << shown
        << ":" << server.port() << "/  (Ctrl-C stops it)" << std::endl;
    host.stopWhen(stopsignals::requested());
    server.start();
    std::optional<ScenarioPlayer> player;
    if (options.play) {
        player.emplace(host, options.play->scenario, options.play->speed, firstPlayed, out);
        player->start();
    }
    host.run();
    if (player)
        player->stop();
    server.stop();
    if (host.relaunchRequested()) {
        std::vector<std::string> argv = options.relaunchArgv;
        argv.insert(argv.end(), {"--port", std::to_string(server.port())});
        // A reset lays the root out anew for a fresh device; a respring resumes the one it saved.
        if (const auto& fresh = host.resetRequested()) {
            if (std::string e = relayDeviceImage(options.root, *fresh); !e.empty()) {
                err << "hushmark-sim serve: cannot reset the device: " << e << '\n';
                return 1;
            }
            argv.push_back("--fresh");
        } else {
            argv.push_back("--resume");
            if (options.play)
                argv.insert(argv.end(), options.play->argv.begin(), options.play->argv.end());
        }
        const std::string failure = Device::relaunch(argv); // answers only when it fails
        err << "hushmark-sim serve: " << failure << '\n';
        return 1;
    }
    out << "stopped" << std::endl;
    return 0;
}

} // namespace sim::web
