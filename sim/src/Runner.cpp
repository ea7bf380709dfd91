#include "Runner.h"

#include "Expectations.h"
#include "StepActions.h"
#include "Timeline.h"

#include "device/Device.h"
#include "device/DeviceImage.h"
#include "device/LocalTime.h"
#include "device/PngEncode.h"
#include "device/StopSignals.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <map>
#include <ostream>

namespace sim {
namespace fs = std::filesystem;

struct Runner::State {
    const Scenario& scenario;
    RunOptions options;
    std::ostream& out;
    std::ostream& err;
    std::unique_ptr<Device> device;
    EventCursors cursors;
    Timeline timeline;
    std::map<std::string, bool> addonChoices; // `addon` steps, carried out by the next respring

    State(const Scenario& s, RunOptions o, std::ostream& os, std::ostream& es)
        : scenario(s), options(std::move(o)), out(os), err(es), timeline(s.settings.timeZone) {}

    const std::string& zone() const { return scenario.settings.timeZone; }
    std::string name() const { return excerpt(scenario.name, 80); }

    void line(NSDate time, const std::string& text) {
        if (options.json)
            return;
        out << timeline.line(time, text) << '\n';
    }

    void json(NSDate time, nlohmann::json object) {
        if (!options.json)
            return;
        std::string local = localDateTime(time, zone());
        const double frac =
            time.timeIntervalSinceReferenceDate - std::floor(time.timeIntervalSinceReferenceDate);
        if (frac > 0.0005)
            local = local.substr(0, 11) + localClock(time, zone());
        object["time"] = local;
        object["unix"] = time.timeIntervalSinceReferenceDate + 978307200.0;
        out << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    }

    void printEvent(const DeviceEvent& e) {
        line(e.time, e.kind + (e.detail.empty() ? "" : "  " + e.detail));
        json(e.time, {{"type", "event"}, {"kind", e.kind}, {"detail", e.detail}});
    }

    std::string execute(const Step& step, size_t index);
    std::string respring(size_t nextStep);
    std::string snapshot(step::Snapshot::Of of, const std::string& file);
    std::string inspect(Screen screen, const std::string& file);
    fs::path outputPath(const std::string& file) const;
};

Runner::Runner(const Scenario& scenario, RunOptions options, std::ostream& out, std::ostream& err)
    : state_(std::make_unique<State>(scenario, std::move(options), out, err)) {}

Runner::~Runner() = default;

int Runner::run() {
    State& s = *state_;
    const ScenarioSettings& settings = s.scenario.settings;
    if (!isKnownTimeZone(settings.timeZone)) {
        s.err << s.name() << ":" << settings.timeZoneLine << ": no time zone " << excerpt(settings.timeZone)
              << " (a name such as UTC or Europe/Berlin)\n";
        return 1;
    }
    auto start = dateFromLocal(settings.start, settings.timeZone);
    if (!start || !World::isHoldableDate(start->timeIntervalSinceReferenceDate)) {
        s.err << s.name() << ":" << settings.startLine << ": the start " << settings.start << " "
              << settings.timeZone << " lies outside the dates the device holds (the years 1 to 9999)\n";
        return 1;
    }
    if (localDateTime(*start, settings.timeZone) != settings.start) {
        s.err << s.name() << ":" << settings.startLine << ": the clocks in " << settings.timeZone
              << " never read " << settings.start << " (a daylight-saving change skips it)\n";
        return 1;
    }
    s.device = std::make_unique<Device>(Device::Options{s.options.root, *start, s.options.resume});
    size_t first = 0;
    if (s.options.resume) {
        if (!s.device->resumeError().empty()) {
            s.err << s.name() << ": " << s.device->resumeError() << '\n';
            return 1;
        }
        const PlistDict& saved = s.device->resumedFrontEndState();
        first = size_t(valueForKey(saved, "step").integerValue());
        s.timeline = Timeline(settings.timeZone, valueForKey(saved, "day").asString());
        if (first > s.scenario.steps.size()) {
            s.err << s.name() << ": the saved state names no step of this scenario\n";
            return 1;
        }
    } else {
        s.timeline = Timeline(settings.timeZone, localDateTime(*start, settings.timeZone).substr(0, 10));
        if (!s.options.json)
            s.out << "# " << s.name() << ": " << localDateTime(*start, settings.timeZone) << ' '
                  << settings.timeZone << ", " << settings.locale << '\n';
    }
    s.device->subscribe([&s](const DeviceEvent& e) { s.printEvent(e); });
    s.cursors.matched = s.cursors.actionStart = s.device->eventCount();

    for (size_t i = first; i < s.scenario.steps.size(); ++i) {
        if (stopsignals::caught())
            return 1; // asked to stop: the caller cleans up and says so
        const Step& step = s.scenario.steps[i];
        const std::string& words = step.shown;
        s.line(s.device->now(), "> " + words);
        s.json(s.device->now(), {{"type", "step"}, {"line", step.line}, {"step", words}});
        if (!std::holds_alternative<Expectation>(step.action))
            s.cursors.actionStart = s.device->eventCount();
        std::string failure = s.execute(step, i);
        if (!failure.empty() && stopsignals::caught())
            return 1; // the signal cut the step short
        if (!failure.empty()) {
            s.out.flush();
            s.json(s.device->now(),
                   {{"type", "failure"}, {"line", step.line}, {"message", printableLines(failure, 400)}});
            s.err << s.name() << ":" << step.line << ": " << excerpt(step.text, 200) << "\n  "
                  << printableLines(failure, 400) << '\n';
            return 1;
        }
    }
    s.line(s.device->now(), "end");
    s.json(s.device->now(), {{"type", "end"}});
    return 0;
}

std::string Runner::State::execute(const Step& step, size_t index) {
    if (auto done = performStep(*device, step.action))
        return *done;
    return std::visit(Visitor{
                          [&](const step::Respring&) { return respring(index + 1); },
                          [&](const step::Addon& s) {
                              addonChoices[s.name] = s.install;
                              return std::string();
                          },
                          [&](const step::Inspect& s) { return inspect(s.screen, s.file); },
                          [&](const step::Snapshot& s) { return snapshot(s.of, s.file); },
                          [&](const Expectation& e) { return checkExpectation(*device, e, cursors, zone()); },
                          [&](const auto&) { return std::string("this step is not one the runner plays"); },
                      },
                      step.action);
}

std::string Runner::State::respring(size_t nextStep) {
    if (!device->isBooted())
        return "the device is not booted";
    if (options.program.empty() || options.scenarioFile.empty())
        return "a respring needs the scenario in a file";
    // The add-on choices go into the root first, as a package manager installs, then resprings.
    for (const auto& [name, install] : addonChoices)
        if (std::string e = install ? installAddon(options.root, name) : removeAddon(options.root, name);
            !e.empty())
            return "cannot " + std::string(install ? "install " : "remove ") + name + ": " + e;
    addonChoices.clear();
    if (!device->saveForRespring(PlistDict{{"step", NSInteger(nextStep)}, {"day", timeline.lastDay()}}))
        return "cannot save the device state for the respring";
    line(device->now(), "springboard relaunching");
    json(device->now(), {{"type", "relaunch"}});
    out.flush();
    std::vector<std::string> argv{options.program,       "run",     options.scenarioFile.string(), "--root",
                                  options.root.string(), "--resume"};
    if (!options.snapshotDir.empty())
        argv.insert(argv.end(), {"--snapshots", options.snapshotDir.string()});
    if (options.json)
        argv.push_back("--json");
    return Device::relaunch(argv);
}

// Where a step's output file goes: into the snapshot folder, else the working folder. The parser
// lets through only relative paths without "..", so the file stays inside that folder.
fs::path Runner::State::outputPath(const std::string& file) const {
    fs::path path = file;
    if (!options.snapshotDir.empty())
        path = options.snapshotDir / path;
    std::error_code ec;
    if (path.has_parent_path())
        fs::create_directories(path.parent_path(), ec);
    return path;
}

std::string Runner::State::inspect(Screen screen, const std::string& file) {
    const fs::path path = outputPath(file);
    std::ofstream o(path, std::ios::trunc);
    o << device->inspection().inspect(screen).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
      << '\n';
    o.close();
    if (!o)
        return "cannot write " + path.string();
    line(device->now(), "inspection  " + path.filename().string());
    json(device->now(), {{"type", "inspection"}, {"file", path.string()}});
    return "";
}

std::string Runner::State::snapshot(step::Snapshot::Of of, const std::string& file) {
    const fs::path path = outputPath(file);
    Device& d = *device;
    SnapshotImage image;
    if (of == step::Snapshot::Of::Settings) {
        if (!d.apps().hasSettingsPage())
            return "Settings shows no page";
        image = d.pictures().render(Screen::Settings);
    } else if (!d.isBooted()) {
        return "the device is not booted";
    } else if (of == step::Snapshot::Of::Phone) {
        image = d.pictures().render(Screen::Phone);
    } else {
        image = of == step::Snapshot::Of::StatusBar ? d.pictures().renderStatusBar()
                                                    : d.pictures().render(Screen::SpringBoard);
    }
    std::vector<uint8_t> bytes = encodePng(image);
    std::ofstream o(path, std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    o.close();
    if (bytes.empty() || !o)
        return "cannot write " + path.string();
    line(d.now(), "snapshot  " + path.filename().string());
    json(d.now(), {{"type", "snapshot"}, {"file", path.string()}});
    return "";
}

} // namespace sim
