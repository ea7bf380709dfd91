// `hushmark-sim serve`: the device booted on Hushmark's page, its host and its server, until a
// stop or a respring.
#include "Serve.h"

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
    Device device({options.root, NSDate::dateWithTimeIntervalSince1970(unixNow), options.resume});
    if (!device.resumeError().empty()) {
        err << "hushmark-sim serve: " << device.resumeError() << '\n';
        return 1;
    }
    // A resumed device has booted already.
    if (std::string e = device.isBooted() ? "" : device.boot(); !e.empty()) {
        err << "hushmark-sim serve: " << e << '\n';
        return 1;
    }
    // The phone shows its home screen, as a phone does when it starts.
    DeviceHost host(device, device.world().timeZone());
    // A fresh device's clock runs at 1x; a resumed one keeps the rate it had.
    host.setRate(options.resume ? valueForKey(device.resumedFrontEndState(), "rate").doubleValue() : 1);
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
    host.run();
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
        }
        const std::string failure = Device::relaunch(argv); // answers only when it fails
        err << "hushmark-sim serve: " << failure << '\n';
        return 1;
    }
    out << "stopped" << std::endl;
    return 0;
}

} // namespace sim::web
