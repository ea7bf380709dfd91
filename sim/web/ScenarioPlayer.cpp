#include "ScenarioPlayer.h"

#include "StepActions.h"

#include "device/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <ostream>

namespace sim::web {
namespace {
// How often a played wait moves the clock, in real time.
constexpr double kMoveEvery = 0.05;
} // namespace

ScenarioPlayer::ScenarioPlayer(DeviceHost& host, Scenario scenario, double speed, size_t first,
                               std::ostream& out)
    : host_(host), scenario_(std::move(scenario)), speed_(speed), first_(first), out_(out) {}

ScenarioPlayer::~ScenarioPlayer() {
    stop();
}

void ScenarioPlayer::start() {
    thread_ = std::thread([this] { play(); });
}

void ScenarioPlayer::stop() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}

void ScenarioPlayer::show(size_t index, const std::string& error, bool done) {
    host_.call([this, index, error, done](Device&) {
        host_.setPlaying({{"name", scenario_.name},
                          {"step", std::min(index + 1, scenario_.steps.size())},
                          {"steps", scenario_.steps.size()},
                          {"done", done},
                          {"error", error.empty() ? nlohmann::json(nullptr) : nlohmann::json(error)}});
        return Reply::ok();
    });
}

// Lets `seconds` of device time pass in real time divided by the speed, a small move at a time.
bool ScenarioPlayer::pace(double seconds) {
    while (seconds > 0) {
        if (stopping_)
            return false;
        std::this_thread::sleep_for(std::chrono::duration<double>(kMoveEvery));
        const double move = std::min(seconds, kMoveEvery * speed_);
        Reply r = host_.call([move](Device& d) {
            std::string e = d.world().advance(move);
            return e.empty() ? Reply::ok() : Reply::error(409, e);
        });
        if (r.status != 200)
            return false;
        seconds -= move;
    }
    return true;
}

Reply ScenarioPlayer::step(size_t index) {
    const Step& s = scenario_.steps[index];
    return host_.call([this, &s](Device& d) {
        const NSDate began = d.now();
        if (std::holds_alternative<step::Respring>(s.action)) {
            host_.session().recordLine(s.text, began, began, false);
            PlistDict saved{{"rate", host_.rate()}, {"playStep", NSInteger(&s - scenario_.steps.data() + 1)}};
            host_.session().save(saved);
            if (!d.saveForRespring(saved))
                return Reply::error(500, "cannot save the device state for the respring");
            host_.requestRelaunch();
            return Reply::ok({{"relaunching", true}});
        }
        if (!std::holds_alternative<Expectation>(s.action))
            cursors_.actionStart = d.eventCount();
        std::optional<std::string> done = performStep(d, s.action);
        if (!done) {
            if (const auto* e = std::get_if<Expectation>(&s.action))
                done = checkExpectation(d, *e, cursors_, d.world().timeZone());
            else
                return Reply::ok(); // a file of a run: passed over
        } else if (done->empty()) {
            const bool anchors = std::holds_alternative<step::SetClock>(s.action);
            host_.session().recordLine(s.text, began, d.now(), anchors);
        }
        return done->empty() ? Reply::ok() : Reply::error(409, *done);
    });
}

void ScenarioPlayer::play() {
    while (host_.viewersSoFar() == 0)
        if (stopping_ || (std::this_thread::sleep_for(std::chrono::milliseconds(100)), stopping_))
            return;
    host_.call([this](Device& d) {
        host_.setRate(0);
        cursors_.matched = cursors_.actionStart = d.eventCount();
        return Reply::ok();
    });
    out_ << "playing " << scenario_.name << " at " << speed_ << "x" << std::endl;
    for (size_t i = first_; i < scenario_.steps.size(); ++i) {
        show(i, "", false);
        const Step& s = scenario_.steps[i];
        std::string error;
        if (const auto* wait = std::get_if<step::Wait>(&s.action)) {
            if (!pace(wait->seconds))
                return;
            continue;
        }
        if (const auto* until = std::get_if<step::Until>(&s.action)) {
            const int secondsOfDay = until->secondsOfDay;
            double seconds = 0;
            host_.call([&](Device& d) {
                const auto at = nextLocalTime(d.now(), secondsOfDay, d.world().timeZone());
                seconds =
                    at ? at->timeIntervalSinceReferenceDate - d.now().timeIntervalSinceReferenceDate : 0;
                return Reply::ok();
            });
            if (!pace(seconds))
                return;
            continue;
        }
        Reply r = step(i);
        if (r.status != 200) {
            error = r.body.value("error", "failed");
            out_ << scenario_.name << ":" << s.line << ": " << s.text << "\n  " << error << std::endl;
            show(i, error, true);
            return;
        }
        if (r.body.value("relaunching", false))
            return;
    }
    show(scenario_.steps.size(), "", true);
    out_ << "played " << scenario_.name << std::endl;
}

} // namespace sim::web
