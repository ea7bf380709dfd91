// The browser device's click to updated picture, in process: a tap posted over HTTP to
// `hushmark-sim serve`'s server until the event stream delivers the screen's new picture,
// against its parts measured in the same run: rendering the Settings screen alone, and one
// rendering as the server makes it (render, compare, PNG).
#include "Actions.h"
#include "DeviceHost.h"
#include "WebServer.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <benchmark/benchmark.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <mutex>
#include <thread>

namespace {
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

Served& served() {
    static Served s;
    return s;
}

void BM_RenderSettings(benchmark::State& state) {
    Served& s = served();
    for (auto _ : state)
        s.host->call([](Device& d) {
            benchmark::DoNotOptimize(d.pictures().render(Screen::Settings));
            return Reply::ok();
        });
}
BENCHMARK(BM_RenderSettings)->Unit(benchmark::kMillisecond);

void BM_FrameSettingsChanged(benchmark::State& state) {
    Served& s = served();
    for (auto _ : state)
        s.host->call([](Device& d) {
            benchmark::DoNotOptimize(
                d.pictures().frame(Screen::Settings, 0)); // as for a viewer without a picture
            return Reply::ok();
        });
}
BENCHMARK(BM_FrameSettingsChanged)->Unit(benchmark::kMillisecond);

// A tap on a switch, posted as the page posts it, until the stream brings the new picture.
void BM_TapToPicture(benchmark::State& state) {
    Served& s = served();
    std::mutex m;
    std::condition_variable cv;
    uint64_t pictures = 0;
    bool done = false;
    std::thread stream([&] {
        httplib::Client c("127.0.0.1", s.port);
        c.set_read_timeout(30, 0);
        std::string buffer;
        c.Get("/api/events", [&](const char* data, size_t size) {
            buffer.append(data, size);
            for (size_t end; (end = buffer.find("\n\n")) != std::string::npos; buffer.erase(0, end + 2)) {
                static const std::string kSettingsPicture = "event: screen\ndata: {\"screen\":\"settings\"";
                if (end >= kSettingsPicture.size() &&
                    buffer.compare(0, kSettingsPicture.size(), kSettingsPicture) == 0) {
                    std::lock_guard lock(m);
                    ++pictures;
                    cv.notify_all();
                }
            }
            std::lock_guard lock(m);
            return !done;
        });
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return pictures > 0; });
    }
    httplib::Client c("127.0.0.1", s.port);
    const std::string origin = "http://127.0.0.1:" + std::to_string(s.port);
    for (auto _ : state) {
        uint64_t before;
        {
            std::lock_guard lock(m);
            before = pictures;
        }
        for (const char* phase : {"down", "up"}) {
            nlohmann::json touch{{"action", "touch"},
                                 {"phase", phase},
                                 {"screen", "settings"},
                                 {"x", s.toggle.x},
                                 {"y", s.toggle.y}};
            c.Post("/api/action", {{"Origin", origin}}, touch.dump(), "application/json");
        }
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return pictures > before; });
    }
    {
        std::lock_guard lock(m);
        done = true;
    }
    // The stream ends at its next message: one more tap makes one.
    for (const char* phase : {"down", "up"}) {
        nlohmann::json touch{{"action", "touch"},
                             {"phase", phase},
                             {"screen", "settings"},
                             {"x", s.toggle.x},
                             {"y", s.toggle.y}};
        c.Post("/api/action", {{"Origin", origin}}, touch.dump(), "application/json");
    }
    stream.join();
}
BENCHMARK(BM_TapToPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
