#include "Runner.h"

#include "Expectations.h"
#include "Timeline.h"

#include "device/Device.h"
#include "device/LocalTime.h"
#include "device/PngEncode.h"
#include "device/StopSignals.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
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
    std::string setSetting(const step::SetSetting& s);
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
    Device& d = *device;
    World& world = d.world();
    Input& input = d.input();
    auto at = [](ScreenPoint p) { return CGPoint{p.x, p.y}; };
    return std::visit(
        Visitor{
            [&](const step::Boot&) { return d.boot(); },
            [&](const step::Respring&) { return respring(index + 1); },
            [&](const step::Lock& s) { return world.lock(s.locked); },
            [&](const step::Alarm& s) {
                return world.addAlarm({s.secondsOfDay, s.label, s.snooze, s.daily});
            },
            [&](const step::Notify& s) { return world.notify(s.bundleIdentifier); },
            [&](const step::Wait& s) { return world.advance(s.seconds); },
            [&](const step::Until& s) { return world.advanceTo(s.secondsOfDay); },
            [&](const step::Jump& s) { return world.setClock(d.now().dateByAddingTimeInterval(s.seconds)); },
            [&](const step::SetSetting& s) { return setSetting(s); },
            [&](const step::RemoveSetting& s) { return world.removeSetting(s.key); },
            [&](const step::DeleteSettingsFile&) { return world.deleteSettingsFile(); },
            [&](const step::CorruptSettingsFile&) { return world.corruptSettingsFile(); },
            [&](const step::WriteFile& s) {
                return s.devicePath ? world.writeFile(*s.devicePath, s.bytes)
                                    : world.writeSettingsFile(s.bytes);
            },
            [&](const step::OpenSettings&) { return input.openSettings(); },
            [&](const step::SettingsBack&) { return input.settingsBack(); },
            [&](const step::TapRow& s) { return input.tapRow(s.label); },
            [&](const step::SwitchRow& s) { return input.setRowSwitch(s.label, s.on); },
            [&](const step::TypeInRow& s) { return input.typeInRow(s.label, s.text); },
            [&](const step::PickSegment& s) { return input.pickRowSegment(s.label, s.index); },
            [&](const step::PickerTap& s) { return input.tapPicker(at(s.at)); },
            [&](const step::PickerDrag& s) { return input.dragPicker(at(s.from), at(s.to)); },
            [&](const step::Touch& s) { return input.touch(s.screen, s.phase, at(s.at)); },
            [&](const step::Tap& s) { return input.tap(s.screen, at(s.at)); },
            [&](const step::Drag& s) { return input.drag(s.screen, at(s.from), at(s.to), s.steps); },
            [&](const step::Type& s) { return input.type(s.text); },
            [&](const step::Press& s) { return input.press(s.key); },
            [&](const step::EnterColor& s) { return input.enterColor(s.prompt, s.text); },
            [&](const step::TapAlertButton& s) { return input.tapAlertButton(s.title); },
            [&](const step::Inspect& s) { return inspect(s.screen, s.file); },
            [&](const step::Snapshot& s) { return snapshot(s.of, s.file); },
            [&](const step::Home& s) { return s.twice ? input.showSwitcher() : input.pressHome(); },
            [&](const step::OpenApp& s) { return input.openApp(s.name); },
            [&](const step::ClockAdd& s) {
                return input.addClockAlarm({s.hour, s.minute, s.label, s.daily, s.snooze});
            },
            [&](const Expectation& e) { return checkExpectation(d, e, cursors, zone()); },
        },
        step.action);
}

std::string Runner::State::respring(size_t nextStep) {
    if (!device->isBooted())
        return "the device is not booted";
    if (options.program.empty() || options.scenarioFile.empty())
        return "a respring needs the scenario in a file";
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

std::string Runner::State::setSetting(const step::SetSetting& s) {
    Device& d = *device;
    return std::visit(
        Visitor{
            [&](bool v) { return d.world().setSetting(s.key, v); },
            [&](long long v) { return d.world().setSetting(s.key, NSInteger(v)); },
            [&](double v) { return d.world().setSetting(s.key, v); },
            [&](const std::string& v) { return d.world().setSetting(s.key, v); },
            [&](const step::FromNow& v) { return d.world().setSettingFromNow(s.key, v.seconds); },
        },
        s.value);
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
