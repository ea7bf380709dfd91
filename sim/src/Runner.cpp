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
        if (options.json) return;
        out << timeline.line(time, text) << '\n';
    }

    void json(NSDate time, nlohmann::json object) {
        if (!options.json) return;
        std::string local = localDateTime(time, zone());
        const double frac = time.timeIntervalSinceReferenceDate - std::floor(time.timeIntervalSinceReferenceDate);
        if (frac > 0.0005) local = local.substr(0, 11) + localClock(time, zone());
        object["time"] = local;
        object["unix"] = time.timeIntervalSinceReferenceDate + 978307200.0;
        out << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    }

    void printEvent(const DeviceEvent& e) {
        line(e.time, e.kind + (e.detail.empty() ? "" : "  " + e.detail));
        json(e.time, {{"type", "event"}, {"kind", e.kind}, {"detail", e.detail}});
    }

    std::string stepWords(const Step& step) const {
        std::string words;
        for (size_t w = 0; w < step.args.size() + 1; ++w) {
            const std::string& word = w == 0 ? step.verb : step.args[w - 1];
            bool quote = word.empty() || word.find(' ') != std::string::npos;
            words += (w ? " " : "") + (quote ? "\"" + excerpt(word, 200) + "\"" : excerpt(word, 200));
        }
        return words;
    }

    std::string execute(const Step& step, size_t index);
    std::string respring(size_t nextStep);
    std::string file(const std::vector<std::string>& a);
    std::string settings(const std::vector<std::string>& a);
    std::string snapshot(const std::string& screen, const std::string& file);
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
    if (!start || !Device::isHoldableDate(start->timeIntervalSinceReferenceDate)) {
        s.err << s.name() << ":" << settings.startLine << ": the start " << settings.start << " " << settings.timeZone
              << " lies outside the dates the device holds (the years 1 to 9999)\n";
        return 1;
    }
    if (localDateTime(*start, settings.timeZone) != settings.start) {
        s.err << s.name() << ":" << settings.startLine << ": the clocks in " << settings.timeZone << " never read "
              << settings.start << " (a daylight-saving change skips it)\n";
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
            s.out << "# " << s.name() << ": " << localDateTime(*start, settings.timeZone) << ' ' << settings.timeZone
                  << ", " << settings.locale << '\n';
    }
    s.device->subscribe([&s](const DeviceEvent& e) { s.printEvent(e); });
    s.cursors.matched = s.cursors.actionStart = s.device->eventCount();

    for (size_t i = first; i < s.scenario.steps.size(); ++i) {
        if (stopsignals::caught()) return 1; // asked to stop: the caller cleans up and says so
        const Step& step = s.scenario.steps[i];
        const std::string words = s.stepWords(step);
        s.line(s.device->now(), "> " + words);
        s.json(s.device->now(), {{"type", "step"}, {"line", step.line}, {"step", words}});
        if (step.verb != "expect") s.cursors.actionStart = s.device->eventCount();
        std::string failure = s.execute(step, i);
        if (!failure.empty() && stopsignals::caught()) return 1; // the signal cut the step short
        if (!failure.empty()) {
            s.out.flush();
            s.json(s.device->now(), {{"type", "failure"}, {"line", step.line}, {"message", printableLines(failure, 400)}});
            s.err << s.name() << ":" << step.line << ": " << excerpt(step.text, 200) << "\n  " << printableLines(failure, 400) << '\n';
            return 1;
        }
    }
    s.line(s.device->now(), "end");
    s.json(s.device->now(), {{"type", "end"}});
    return 0;
}

std::string Runner::State::execute(const Step& step, size_t index) {
    const auto& a = step.args;
    const std::string& v = step.verb;
    Device& d = *device;
    auto point = [&](size_t i) { return CGPoint{*parseCoordinate(a[i]), *parseCoordinate(a[i + 1])}; };
    if (v == "boot") return d.boot();
    if (v == "respring") return respring(index + 1);
    if (v == "lock" || v == "unlock") return d.lock(v == "lock");
    if (v == "alarm") {
        AlarmRequest request{*parseTimeOfDay(a[0]), a[1]};
        for (size_t i = 2; i < a.size(); ++i) {
            if (a[i] == "nosnooze") request.snooze = false;
            if (a[i] == "daily") request.daily = true;
        }
        return d.addAlarm(request);
    }
    if (v == "notify") return d.notify(a[0]);
    if (v == "wait") return d.advance(*parseDuration(a[0]));
    if (v == "until") {
        const auto at = nextLocalTime(d.now(), *parseTimeOfDay(a[0]), zone());
        if (!at) return "the clock cannot go past the year 9999";
        return d.advance(at->timeIntervalSinceReferenceDate - d.now().timeIntervalSinceReferenceDate);
    }
    if (v == "jump") return d.setClock(d.now().dateByAddingTimeInterval(*parseDuration(a[0])));
    if (v == "file") return file(a);
    if (v == "settings") return settings(a);
    if (v == "picker") {
        std::vector<CGPoint> points;
        CGPoint from = point(1);
        if (a[0] == "tap") {
            points = {from};
        } else {
            CGPoint to = point(3);
            const int steps = 10;
            for (int i = 0; i <= steps; ++i)
                points.push_back({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        }
        return d.touchPicker(points);
    }
    if (v == "touch") {
        Screen screen = *screenNamed(a[1]);
        if (a[0] == "down") return d.touchDown(screen, point(2));
        if (a[0] == "move") return d.touchMove(screen, point(2));
        return d.touchUp(screen, point(2));
    }
    if (v == "tap") return d.tap(*screenNamed(a[0]), point(1));
    if (v == "drag") return d.drag(*screenNamed(a[0]), point(1), point(3), a.size() == 6 ? int(*parseInteger(a[5], 1, 1000)) : 10);
    if (v == "type") return d.type(a[0]);
    if (v == "key") return d.press(a[0] == "return" ? Key::Return : Key::Backspace);
    if (v == "color") return a[0] == "hex" ? d.enterColor("hex", a[1]) : d.enterColor(a[1], a[2]);
    if (v == "alert") return d.tapAlertButton(a[1]);
    if (v == "expect") return checkExpectation(d, a, cursors, zone());
    if (v == "snapshot") return snapshot(a[0], a[1]);
    if (v == "inspect") return inspect(*screenNamed(a[0]), a[1]);
    return "the step \"" + v + "\" is not runnable";
}

std::string Runner::State::respring(size_t nextStep) {
    if (!device->isBooted()) return "the device is not booted";
    if (options.program.empty() || options.scenarioFile.empty()) return "a respring needs the scenario in a file";
    if (!device->saveForRespring(PlistDict{{"step", NSInteger(nextStep)}, {"day", timeline.lastDay()}}))
        return "cannot save the device state for the respring";
    line(device->now(), "springboard relaunching");
    json(device->now(), {{"type", "relaunch"}});
    out.flush();
    std::vector<std::string> argv{options.program, "run", options.scenarioFile.string(), "--root", options.root.string(), "--resume"};
    if (!options.snapshotDir.empty()) argv.insert(argv.end(), {"--snapshots", options.snapshotDir.string()});
    if (options.json) argv.push_back("--json");
    return Device::relaunch(argv);
}

std::string Runner::State::file(const std::vector<std::string>& a) {
    constexpr const char* kSettings = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
    Device& d = *device;
    if (a[0] == "delete") return d.deleteFile(kSettings);
    if (a[0] == "corrupt") return d.writeFile(kSettings, "<?xml version=\"1.0\"?><plist><dict><key>enabled</key><true/>");
    if (a[0] == "write") return d.writeFile(a[1] == "settings" ? kSettings : a[1], *decodeBytes(a[2]));
    if (a[0] == "remove") return d.removeSetting(a[1]);
    const std::string& type = a[2];
    const std::string& text = a[3];
    if (type == "bool") return d.setSetting(a[1], text == "true");
    if (type == "int") return d.setSetting(a[1], NSInteger(*parseInteger(text, INT64_MIN, INT64_MAX)));
    if (type == "real") return d.setSetting(a[1], *parseReal(text, 1e300));
    if (type == "string") return d.setSetting(a[1], text);
    const double at = d.now().timeIntervalSinceReferenceDate + *parseDuration(text);
    if (!Device::isHoldableDate(at)) return "the date lies outside the years 1 to 9999";
    return d.setSetting(a[1], NSDate{at});
}

std::string Runner::State::settings(const std::vector<std::string>& a) {
    Device& d = *device;
    const std::string& v = a[0];
    if (!d.isBooted()) return "the device is not booted";
    if (v == "open") return d.openSettings();
    if (v == "back") return d.settingsBack();
    if (v == "tap") return d.tapRow(a[1]);
    if (v == "switch") return d.setRowSwitch(a[1], a[2] == "on");
    if (v == "type") return d.typeInRow(a[1], a[2]);
    return d.pickRowSegment(a[1], long(*parseInteger(a[2], 0, 999)));
}

// Where a step's output file goes: relative paths into the snapshot folder, if any.
fs::path Runner::State::outputPath(const std::string& file) const {
    fs::path path = file;
    if (path.is_relative() && !options.snapshotDir.empty()) path = options.snapshotDir / path;
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    return path;
}

std::string Runner::State::inspect(Screen screen, const std::string& file) {
    const fs::path path = outputPath(file);
    std::ofstream o(path, std::ios::trunc);
    o << device->inspect(screen).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    o.close();
    if (!o) return "cannot write " + path.string();
    line(device->now(), "inspection  " + path.filename().string());
    json(device->now(), {{"type", "inspection"}, {"file", path.string()}});
    return "";
}

std::string Runner::State::snapshot(const std::string& screen, const std::string& file) {
    const fs::path path = outputPath(file);
    Device& d = *device;
    SnapshotImage image;
    if (screen == "settings") {
        if (!d.hasSettingsPage()) return "Settings shows no page";
        image = d.render(Screen::Settings);
    } else if (!d.isBooted()) {
        return "the device is not booted";
    } else {
        image = screen == "statusbar" ? d.renderStatusBar() : d.render(Screen::SpringBoard);
    }
    std::vector<uint8_t> bytes = encodePng(image);
    std::ofstream o(path, std::ios::binary | std::ios::trunc);
    o.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    o.close();
    if (bytes.empty() || !o) return "cannot write " + path.string();
    line(d.now(), "snapshot  " + path.filename().string());
    json(d.now(), {{"type", "snapshot"}, {"file", path.string()}});
    return "";
}

} // namespace sim
