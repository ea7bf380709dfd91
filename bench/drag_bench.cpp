// A person dragging on the color picker in the browser, as the server sees it: touch moves posted
// through the HTTP API 60 times a second, with one viewer on the event stream. Reported as
// counters: the phone pictures delivered per move (a whole picture or its changed tiles:
// goal at least 0.95), the move-to-picture latency of isolated moves, median and 95th
// percentile (goals 16.7 and 33 ms: a 60 Hz display's frame and two), and the same for a tap on a
// switch. Wall-clock figures: give the machine's load beside them.
#include "ServedDevice.h"

#include "Base64.h"
#include "device/PngEncode.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {
using namespace sim;
using namespace sim::web;
using bench_served::served;
using bench_served::Served;
using Clock = std::chrono::steady_clock;

constexpr auto kFrame = std::chrono::microseconds(16667);
constexpr int kDragMoves = 120; // two seconds of dragging
constexpr int kIsolated = 25;   // moves and taps timed one by one
constexpr auto kApart = std::chrono::milliseconds(120);

// The viewer: when each phone picture (a whole one, or changed tiles) arrived.
class Viewer {
  public:
    explicit Viewer(int port) : client_("127.0.0.1", port) {
        client_.set_read_timeout(60, 0);
        client_.set_tcp_nodelay(true);
        thread_ = std::thread([this] {
            std::string buffer;
            client_.Get("/api/events", [&](const char* data, size_t size) {
                buffer.append(data, size);
                for (size_t end; (end = buffer.find("\n\n")) != std::string::npos; buffer.erase(0, end + 2)) {
                    static const std::string kWhole = "event: screen\ndata: {\"screen\":\"phone\"";
                    static const std::string kTiles = "event: tiles\ndata: {\"screen\":\"phone\"";
                    if (buffer.compare(0, kWhole.size(), kWhole) == 0 ||
                        buffer.compare(0, kTiles.size(), kTiles) == 0) {
                        std::lock_guard lock(mutex_);
                        arrivals_.push_back(Clock::now());
                        cv_.notify_all();
                    }
                }
                return true;
            });
        });
    }
    ~Viewer() {
        client_.stop();
        thread_.join();
    }
    size_t count() {
        std::lock_guard lock(mutex_);
        return arrivals_.size();
    }
    // The arrival of picture number `index` (counted from the first), waiting up to a second.
    std::optional<Clock::time_point> arrival(size_t index) {
        std::unique_lock lock(mutex_);
        if (!cv_.wait_for(lock, std::chrono::seconds(1), [&] { return arrivals_.size() > index; }))
            return std::nullopt;
        return arrivals_[index];
    }

  private:
    httplib::Client client_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<Clock::time_point> arrivals_;
};

struct Poster {
    httplib::Client client;
    std::string origin;
    explicit Poster(int port)
        : client("127.0.0.1", port), origin("http://127.0.0.1:" + std::to_string(port)) {
        client.set_keep_alive(true);
        client.set_tcp_nodelay(true); // as a browser sends: no wait for the header's acknowledgement
    }
    void touch(const char* phase, CGPoint at) {
        const nlohmann::json body{
            {"action", "touch"}, {"phase", phase}, {"screen", "phone"}, {"x", at.x}, {"y", at.y}};
        client.Post("/api/action", {{"Origin", origin}}, body.dump(), "application/json");
    }
};

// The picker's square on the color page (screen points, where `screen` shows it), opening the page.
CGRect openPickerSquare(Served& s, Screen screen = Screen::Settings) {
    CGRect square{};
    s.host->call([&](Device& d) {
        d.input().tapRow("Button Color");
        std::function<void(const nlohmann::json&)> find = [&](const nlohmann::json& v) {
            const std::string cls = v["class"];
            if (cls == "HMHueSaturationView" || cls == "HMBrightnessSaturationView" ||
                cls == "HMHueBrightnessView") {
                const auto& f = v["frame"];
                square = CGRectMake(f["x"], f["y"], f["width"], f["height"]);
            }
            if (v.contains("subviews"))
                for (const auto& sub : v["subviews"])
                    find(sub);
        };
        find(d.inspection().inspect(screen)["views"]);
        return Reply::ok();
    });
    return square;
}

// A point of the square's path: along a zigzag that changes the color at every step.
CGPoint along(CGRect square, int step) {
    const double w = square.size.width - 20, h = square.size.height - 20;
    const double t = std::fmod(step * 7.0, 2 * w);
    return {square.origin.x + 10 + (t < w ? t : 2 * w - t), square.origin.y + 10 + std::fmod(step * 3.0, h)};
}

double millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

// The parts of one move on the device's thread, finger down on the square: the move alone, the
// move with its changed tiles drawn, and the move with a full rendering (the drawing before
// tiles), so the ratio shows what drawing only what changed saves. On the phone (its display
// drawn whole and compared): its changes alone, as the server publishes them, and with
// SpringBoard's and Settings' screens drawn too, as a server publishing every screen would.
enum class After { Nothing, Changes, FullRender, PhoneChanges, EveryScreen };
void pickerMoves(benchmark::State& state, After after) {
    Served& s = served();
    const bool phone = after == After::PhoneChanges || after == After::EveryScreen;
    const Screen touched = phone ? Screen::Phone : Screen::Settings;
    const CGRect square = openPickerSquare(s, touched);
    const std::vector<Screen> drawn = after == After::EveryScreen ? allScreens()
                                      : phone                     ? std::vector<Screen>{Screen::Phone}
                                                                  : std::vector<Screen>{Screen::Settings};
    int step = 0;
    s.host->call([&](Device& d) {
        for (Screen screen : drawn)
            d.pictures().changes(screen);
        d.input().touchDown(touched, along(square, step));
        for (Screen screen : drawn)
            d.pictures().changes(screen);
        return Reply::ok();
    });
    double redrawn = 0, sent = 0, whole = 1;
    for (auto _ : state)
        s.host->call([&](Device& d) {
            d.input().touchMove(touched, along(square, ++step));
            if (after == After::FullRender) {
                benchmark::DoNotOptimize(d.pictures().render(Screen::Settings));
            } else if (after != After::Nothing) {
                for (Screen screen : drawn) {
                    const ScreenChanges c = d.pictures().changes(screen);
                    if (screen != touched)
                        continue;
                    redrawn += double(c.redrawnPixels);
                    for (const ScreenTile& t : c.tiles)
                        sent += double(t.rect.width * t.rect.height);
                    whole = double(c.width * c.height);
                }
            }
            return Reply::ok();
        });
    s.host->call([&](Device& d) {
        d.input().touchUp(touched, along(square, step));
        d.input().settingsBack();
        return Reply::ok();
    });
    if (after != After::Nothing && after != After::FullRender) {
        // Shares of the touched screen's pixels per move: drawn again, and sent.
        state.counters["redrawn_share"] = redrawn / double(state.iterations()) / whole;
        state.counters["sent_share"] = sent / double(state.iterations()) / whole;
    }
}
BENCHMARK_CAPTURE(pickerMoves, move_only, After::Nothing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pickerMoves, move_and_changes, After::Changes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pickerMoves, move_and_full_render, After::FullRender)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pickerMoves, phone_move_and_changes, After::PhoneChanges)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pickerMoves, phone_move_and_every_screen, After::EveryScreen)
    ->Unit(benchmark::kMillisecond);

// A frame without input, as the running clock makes one (a second passes, then the pictures):
// the phone's changes alone, against every screen's, on Hushmark's page.
void clockFrame(benchmark::State& state, bool everyScreen) {
    Served& s = served();
    const std::vector<Screen> drawn = everyScreen ? allScreens() : std::vector<Screen>{Screen::Phone};
    for (auto _ : state)
        s.host->call([&](Device& d) {
            d.world().advance(1);
            for (Screen screen : drawn)
                benchmark::DoNotOptimize(d.pictures().changes(screen));
            return Reply::ok();
        });
}
BENCHMARK_CAPTURE(clockFrame, phone, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(clockFrame, every_screen, true)->Unit(benchmark::kMillisecond);

// A tap (down, then up) on a screen, with the changed tiles taken after each as the server takes
// them: the pixels drawn again. `whole` gets the screen's pixels.
double tapRedrawn(Device& d, Screen screen, CGPoint at, double& whole) {
    d.input().touchDown(screen, at);
    double redrawn = double(d.pictures().changes(screen).redrawnPixels);
    d.input().touchUp(screen, at);
    const ScreenChanges c = d.pictures().changes(screen);
    whole = double(c.width * c.height);
    return redrawn + double(c.redrawnPixels);
}

// A tap on the square on the device's thread: finger down, then up (which saves the color), with
// the changed tiles of each taken as the server takes them, on Settings' screen or the phone.
// Counter: the share of the screen's pixels drawn again per tap (down and up together).
void pickerTaps(benchmark::State& state, Screen screen) {
    Served& s = served();
    const CGRect square = openPickerSquare(s, screen);
    int step = 0;
    double redrawn = 0, whole = 1;
    s.host->call([&](Device& d) {
        d.pictures().changes(screen);
        return Reply::ok();
    });
    for (auto _ : state)
        s.host->call([&](Device& d) {
            const CGPoint at = along(square, ++step);
            redrawn += tapRedrawn(d, screen, at, whole);
            return Reply::ok();
        });
    s.host->call([&](Device& d) {
        d.input().settingsBack();
        return Reply::ok();
    });
    state.counters["redrawn_share"] = redrawn / double(state.iterations()) / whole;
}
BENCHMARK_CAPTURE(pickerTaps, settings, Screen::Settings)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pickerTaps, phone, Screen::Phone)->Unit(benchmark::kMillisecond);

// A tap on the root page's "Enabled" switch on the device's thread, down and up, with the changed
// tiles taken after each: the switch flips, the setting is saved, and the page reloads its rows.
// Counter: the share of the screen's pixels drawn again per tap.
void switchTaps(benchmark::State& state, Screen screen) {
    Served& s = served();
    CGPoint at{};
    double redrawn = 0, whole = 1;
    s.host->call([&](Device& d) {
        const nlohmann::json page = d.inspection().inspect(screen)["settings"];
        for (const auto& row : page["rows"])
            if (row["label"] == "Enabled")
                at = {280, row["frame"]["y"].get<double>() + 22};
        d.pictures().changes(screen);
        return Reply::ok();
    });
    for (auto _ : state)
        s.host->call([&](Device& d) {
            redrawn += tapRedrawn(d, screen, at, whole);
            return Reply::ok();
        });
    state.counters["redrawn_share"] = redrawn / double(state.iterations()) / whole;
}
BENCHMARK_CAPTURE(switchTaps, settings, Screen::Settings)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(switchTaps, phone, Screen::Phone)->Unit(benchmark::kMillisecond);

// Encoding a move's tiles for the page, as base64 text: PNG at zlib levels 1 and 0 (stored),
// against raw RGBA (which the page would put into its canvas as it is). Counters: the text's
// bytes per move.
enum class Codec { Png1, Png0, Raw };
void encodeMoveTiles(benchmark::State& state, Codec codec) {
    Served& s = served();
    const CGRect square = openPickerSquare(s);
    std::vector<ScreenTile> tiles;
    s.host->call([&](Device& d) {
        d.input().touchDown(Screen::Settings, along(square, 0));
        d.pictures().changes(Screen::Settings);
        // The largest move of a few, in pixels sent.
        size_t most = 0;
        for (int step = 1; step <= 12; ++step) {
            d.input().touchMove(Screen::Settings, along(square, step * 5));
            ScreenChanges c = d.pictures().changes(Screen::Settings);
            size_t pixels = 0;
            for (const ScreenTile& t : c.tiles)
                pixels += t.rect.width * t.rect.height;
            if (pixels > most) {
                most = pixels;
                tiles = std::move(c.tiles);
            }
        }
        d.input().touchUp(Screen::Settings, along(square, 60));
        d.input().settingsBack();
        return Reply::ok();
    });
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const ScreenTile& t : tiles) {
            const std::string text = codec == Codec::Raw
                                         ? base64(t.image.rgba)
                                         : base64(encodePng(t.image, codec == Codec::Png1 ? 1 : 0));
            bytes += text.size();
        }
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK_CAPTURE(encodeMoveTiles, png_level_1, Codec::Png1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeMoveTiles, png_level_0, Codec::Png0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeMoveTiles, raw_rgba, Codec::Raw)->Unit(benchmark::kMillisecond);

// Each iteration, on the phone (the page's screen): a two-second drag at 60 Hz, then isolated
// moves, then isolated taps.
void BM_PickerDragAt60Hz(benchmark::State& state) {
    Served& s = served();
    const CGRect square = openPickerSquare(s, Screen::Phone);
    if (square.size.width <= 20) {
        state.SkipWithError("no picker square on the color page");
        return;
    }
    Viewer viewer(s.port);
    if (!viewer.arrival(0)) {
        state.SkipWithError("no picture on the event stream");
        return;
    }
    Poster poster(s.port);
    std::vector<double> perMove, moveRate, moveLatency, moveAnswer, tapLatency;
    int step = 0;
    for (auto _ : state) {
        // The drag: a move every frame, whatever came back.
        poster.touch("down", along(square, step));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const size_t before = viewer.count();
        const auto start = Clock::now();
        auto next = start;
        for (int i = 0; i < kDragMoves; ++i) {
            std::this_thread::sleep_until(next);
            next += kFrame;
            poster.touch("move", along(square, ++step)); // answered once applied, as the page sends
        }
        moveRate.push_back(kDragMoves / std::chrono::duration<double>(Clock::now() - start).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        perMove.push_back(double(viewer.count() - before) / kDragMoves);
        // Isolated moves, the finger still down: each move's picture, timed.
        for (int i = 0; i < kIsolated; ++i) {
            std::this_thread::sleep_for(kApart);
            const size_t seen = viewer.count();
            const auto sent = Clock::now();
            poster.touch("move", along(square, ++step));
            moveAnswer.push_back(millis(Clock::now() - sent));
            if (auto arrived = viewer.arrival(seen))
                moveLatency.push_back(millis(*arrived - sent));
        }
        poster.touch("up", along(square, step));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        // Taps on the square: down and up, until the picture of the tap's end.
        for (int i = 0; i < kIsolated; ++i) {
            std::this_thread::sleep_for(kApart);
            const CGPoint at = along(square, ++step);
            poster.touch("down", at);
            std::this_thread::sleep_for(kApart);
            const size_t seen = viewer.count();
            const auto sent = Clock::now();
            poster.touch("up", at);
            if (auto arrived = viewer.arrival(seen))
                tapLatency.push_back(millis(*arrived - sent));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    state.counters["pictures_per_move"] = percentile(perMove, 0.5);
    state.counters["moves_per_s"] = percentile(moveRate, 0.5);
    state.counters["move_median_ms"] = percentile(moveLatency, 0.5);
    state.counters["move_p95_ms"] = percentile(moveLatency, 0.95);
    state.counters["move_answer_ms"] = percentile(moveAnswer, 0.5); // the POST's own answer
    state.counters["tap_median_ms"] = percentile(tapLatency, 0.5);
    state.counters["tap_p95_ms"] = percentile(tapLatency, 0.95);
    state.counters["timed"] = double(moveLatency.size() + tapLatency.size());
}
BENCHMARK(BM_PickerDragAt60Hz)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

BENCHMARK_MAIN();
