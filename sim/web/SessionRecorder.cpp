#include "SessionRecorder.h"

#include "StepWriter.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"

#include <cmath>

namespace sim::web {
namespace {
constexpr double kNano = 1e9;
// A scenario file holds at most 1 MiB; the session stops growing with room left for its last lines.
constexpr size_t kMostBytes = 1024 * 1024 - 4096;
} // namespace

ScenarioSettings sessionSettings(Device& device) {
    ScenarioSettings s;
    s.timeZone = device.world().timeZone();
    s.start = localDateTime(device.now(), s.timeZone);
    const PlistDict global = dictionaryWithContentsOfFile(kGlobalPreferencesPath).value_or(PlistDict{});
    if (const PlistValue& locale = valueForKey(global, "AppleLocale"); locale.isString())
        s.locale = locale.asString();
    const PlistValue& languages = valueForKey(global, "AppleLanguages");
    if (languages.isArray() && !languages.asArray().empty()) {
        s.languages.clear();
        for (const PlistValue& language : languages.asArray())
            s.languages.push_back(language.asString());
    }
    const DeviceSetup& setup = device.setup();
    s.screen = std::to_string(int(setup.screen.width)) + "x" + std::to_string(int(setup.screen.height));
    s.addons = installedAddons(device.root());
    s.springboardWithout = setup.springboardWithout;
    if (setup.timerSlack > 0)
        s.timerSlack = setup.timerSlack;
    return s;
}

void SessionRecorder::begin(const ScenarioSettings& settings, NSDate start) {
    lines_.clear();
    bytes_ = 0;
    full_ = false;
    add("# A session on the browser device, from its boot: hushmark-sim run replays it.");
    for (const std::string& line : writeSettings(settings))
        add(line);
    // The replay starts at the whole second the start line names; the first wait covers the rest.
    const auto whole = dateFromLocal(settings.start, settings.timeZone);
    anchor_ = whole ? whole->timeIntervalSinceReferenceDate : start.timeIntervalSinceReferenceDate;
    written_ = 0;
    steps_ = unwritten_ = 0;
}

void SessionRecorder::beginBooted(const ScenarioSettings& settings, NSDate start) {
    begin(settings, start);
    record(step::Boot{}, start, start);
}

void SessionRecorder::add(std::string line) {
    bytes_ += line.size() + 1;
    lines_.push_back(std::move(line));
    if (bytes_ > kMostBytes && !full_) {
        full_ = true;
        lines_.push_back("# the session stops here: a scenario holds at most 1 MiB");
    }
}

long long SessionRecorder::offset(NSDate t) const {
    return std::llround((t.timeIntervalSinceReferenceDate - anchor_) * kNano);
}

void SessionRecorder::waitUntil(NSDate at) {
    const long long due = offset(at);
    if (due <= written_)
        return;
    add(writeStep(step::Wait{double(due - written_) / kNano}).line);
    written_ = due;
}

void SessionRecorder::record(const sim::Action& step, NSDate at, NSDate after) {
    const WrittenStep w = writeStep(step);
    if (!w.error.empty() && started() && !full_)
        ++unwritten_;
    // A clock set or an `until` lands exactly on `after` in the replay too: the new anchor.
    append(w.error.empty() ? w.line : "# not kept (" + w.error + ")", at, after,
           std::holds_alternative<step::SetClock>(step) || std::holds_alternative<step::Until>(step));
}

void SessionRecorder::recordLine(const std::string& line, NSDate at, NSDate after, bool anchors) {
    append(line, at, after, anchors);
}

void SessionRecorder::append(const std::string& line, NSDate at, NSDate after, bool anchors) {
    if (!started() || full_)
        return;
    waitUntil(at);
    ++steps_;
    add(line);
    if (anchors) {
        anchor_ = after.timeIntervalSinceReferenceDate;
        written_ = 0;
    } else {
        written_ = std::max(written_, offset(after));
    }
}

void SessionRecorder::note(const std::string& text, NSDate at) {
    if (!started() || full_)
        return;
    waitUntil(at);
    add("# " + text);
}

std::string SessionRecorder::scenario(NSDate now) const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\n";
    if (const long long due = offset(now); due > written_ && !full_)
        text += writeStep(step::Wait{double(due - written_) / kNano}).line + "\n";
    return text;
}

void SessionRecorder::save(PlistDict& state) const {
    PlistArray lines;
    for (const std::string& line : lines_)
        lines.emplace_back(line);
    state["sessionLines"] = lines;
    state["sessionAnchor"] = anchor_;
    state["sessionWritten"] = NSInteger(written_);
    state["sessionSteps"] = NSInteger(steps_);
    state["sessionUnwritten"] = NSInteger(unwritten_);
    state["sessionFull"] = full_;
}

void SessionRecorder::restore(const PlistDict& state) {
    const PlistValue& lines = valueForKey(state, "sessionLines");
    if (!lines.isArray())
        return;
    lines_.clear();
    bytes_ = 0;
    full_ = false;
    for (const PlistValue& line : lines.asArray()) {
        lines_.push_back(line.isString() ? line.asString() : std::string());
        bytes_ += lines_.back().size() + 1;
    }
    full_ = valueForKey(state, "sessionFull").boolValue();
    anchor_ = valueForKey(state, "sessionAnchor").doubleValue();
    written_ = valueForKey(state, "sessionWritten").integerValue();
    steps_ = size_t(valueForKey(state, "sessionSteps").integerValue());
    unwritten_ = size_t(valueForKey(state, "sessionUnwritten").integerValue());
}

} // namespace sim::web
