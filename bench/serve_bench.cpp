// The browser device's click to updated picture, in process: a tap posted over HTTP to
// `hushmark-sim serve`'s server until the event stream delivers the screen's new picture (whole, or its
// changed tiles), against its parts measured in the same run: rendering the Settings screen alone, and one
// rendering as the server makes it (render, compare, PNG).
#include "ServedDevice.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
using namespace sim;
using namespace sim::web;
using bench_served::served;
using bench_served::Served;

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
                // A whole picture or the changed tiles of one.
                static const std::string kSettingsPicture = "event: screen\ndata: {\"screen\":\"phone\"";
                static const std::string kSettingsTiles = "event: tiles\ndata: {\"screen\":\"phone\"";
                if ((end >= kSettingsPicture.size() &&
                     buffer.compare(0, kSettingsPicture.size(), kSettingsPicture) == 0) ||
                    (end >= kSettingsTiles.size() &&
                     buffer.compare(0, kSettingsTiles.size(), kSettingsTiles) == 0)) {
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
                                 {"screen", "phone"},
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
        nlohmann::json touch{
            {"action", "touch"}, {"phase", phase}, {"screen", "phone"}, {"x", s.toggle.x}, {"y", s.toggle.y}};
        c.Post("/api/action", {{"Origin", origin}}, touch.dump(), "application/json");
    }
    stream.join();
}
BENCHMARK(BM_TapToPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
