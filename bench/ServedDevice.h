// One booted device with its web server on a thread of its own (the device's), shared by a
// benchmark program's benchmarks: what `hushmark-sim serve` runs, in process.
#pragma once

#include "Actions.h"
#include "DeviceHost.h"
#include "WebServer.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <future>
#include <thread>

namespace bench_served {
namespace fs = std::filesystem;
using namespace sim;
using namespace sim::web;

// One device with its server, on a thread of its own (the device's), for the whole program.
struct Served {
    fs::path root;
    std::thread thread;
    DeviceHost* host = nullptr;
    int port = 0;
    CGPoint toggle{};

    Served() {
        std::string pattern = (fs::temp_directory_path() / "hm-serve-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root = pattern;
        fs::remove(root);
        if (!layDeviceImage(root, {}).empty())
            std::abort();
        std::promise<void> ready;
        thread = std::thread([this, &ready] {
            Device device({root, *dateFromLocal("2026-12-07 08:00:00", "UTC"), false});
            device.boot();
            device.input().openSettings();
            const nlohmann::json rows = device.inspection().inspect(Screen::Settings)["settings"]["rows"];
            for (const auto& row : rows)
                if (row["label"] == "Color Picker Above Sliders")
                    toggle = {280, row["frame"]["y"].get<double>() + 22};
            DeviceHost h(device, "UTC");
            WebServer server(h, {"127.0.0.1", 0});
            if (!server.bind().empty())
                std::abort();
            server.start();
            host = &h;
            port = server.port();
            ready.set_value();
            h.run();
            server.stop();
        });
        ready.get_future().wait();
    }
    ~Served() {
        host->stop();
        thread.join();
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

inline Served& served() {
    static Served s;
    return s;
}

} // namespace bench_served
