// The verbs of a scenario and what each makes of its words.
#include "ScenarioRules.h"

#include "words/Words.h"

#include <cstdint>
#include <filesystem>

namespace sim::rules {
namespace {

constexpr const char* kDurationHelp = "the duration must be like 30s, 5m, 1h30m (at most 100 years)";
constexpr const char* kTimeHelp = "the time must be HH:MM or HH:MM:SS";

std::string timeOfDay(const std::string& word, int& out) {
    auto t = parseTimeOfDay(word);
    if (!t)
        return kTimeHelp;
    out = *t;
    return "";
}

// An output file of the run: a relative path that stays inside the output folder.
std::string outputFile(const std::string& word, std::string& out) {
    const std::filesystem::path path(word);
    bool escapes = path.is_absolute() || path.has_root_path();
    for (const auto& part : path)
        escapes = escapes || part == "..";
    if (escapes)
        return "the file must stay inside the output folder (a relative path without \"..\"), not " +
               quote(word);
    out = word;
    return "";
}

std::string fileStep(const Words& a, Action& out) {
    if (a[0] == "set") {
        if (a.size() != 4)
            return "usage: file set KEY TYPE VALUE";
        auto e = oneOf(a[2], {"bool", "int", "real", "string", "date"}, "the type");
        if (!e.empty())
            return e;
        step::SetSetting set{a[1], a[3]};
        if (a[2] == "date") {
            auto d = parseDuration(a[3]);
            if (!d)
                return "a date is an offset from now, like +30m or -1m";
            set.value = step::FromNow{*d};
        } else if (a[2] == "int") {
            auto i = parseInteger(a[3], INT64_MIN, INT64_MAX);
            if (!i)
                return quote(a[3]) + " is not a whole number that fits 64 bits";
            set.value = *i;
        } else if (a[2] == "real") {
            auto r = parseReal(a[3], 1e300);
            if (!r)
                return quote(a[3]) + " is not a finite number";
            set.value = *r;
        } else if (a[2] == "bool") {
            if (auto e = oneOf(a[3], {"true", "false"}, "a bool"); !e.empty())
                return e;
            set.value = a[3] == "true";
        }
        out = set;
        return "";
    }
    if (a[0] == "remove") {
        if (a.size() != 2)
            return "usage: file remove KEY";
        out = step::RemoveSetting{a[1]};
        return "";
    }
    if (a[0] == "delete" || a[0] == "corrupt") {
        if (a.size() != 1)
            return "usage: file " + a[0];
        out = a[0] == "delete" ? Action(step::DeleteSettingsFile{}) : Action(step::CorruptSettingsFile{});
        return "";
    }
    if (a[0] == "write") {
        if (a.size() != 3)
            return "usage: file write PATH|settings TEXT";
        if (a[1] != "settings" && (a[1].empty() || a[1][0] != '/'))
            return "the path must be a device path (from /) or settings";
        auto bytes = decodeBytes(a[2]);
        if (!bytes)
            return "a text to write takes the escapes \\n \\r \\t \\0 \\\\ and \\xHH only";
        out = step::WriteFile{a[1] == "settings" ? std::nullopt : std::optional<std::string>(a[1]), *bytes};
        return "";
    }
    return oneOf(a[0], {"set", "remove", "delete", "corrupt", "write"}, "a file step");
}

std::string settingsStep(const Words& a, Action& out) {
    const std::string& v = a[0];
    if (v == "open" || v == "back") {
        if (a.size() != 1)
            return "usage: settings " + v;
        out = v == "open" ? Action(step::OpenSettings{}) : Action(step::SettingsBack{});
        return "";
    }
    if (v == "tap") {
        if (a.size() != 2)
            return "usage: settings tap LABEL";
        out = step::TapRow{a[1]};
        return "";
    }
    if (v == "switch") {
        if (a.size() != 3)
            return "usage: settings switch LABEL on|off";
        if (auto e = oneOf(a[2], {"on", "off"}, "a switch"); !e.empty())
            return e;
        out = step::SwitchRow{a[1], a[2] == "on"};
        return "";
    }
    if (v == "type") {
        if (a.size() != 3)
            return "usage: settings type LABEL TEXT";
        out = step::TypeInRow{a[1], a[2]};
        return "";
    }
    if (v == "segment") {
        if (a.size() != 3)
            return "usage: settings segment LABEL INDEX";
        auto index = parseInteger(a[2], 0, 999);
        if (!index)
            return "a segment index is a whole number from 0, not " + quote(a[2]);
        out = step::PickSegment{a[1], long(*index)};
        return "";
    }
    return oneOf(v, {"open", "back", "tap", "switch", "type", "segment"}, "a settings step");
}

std::string pickerStep(const Words& a, Action& out) {
    if (a[0] == "tap") {
        if (a.size() != 3)
            return "usage: picker tap X Y";
        step::PickerTap tap;
        if (auto e = point(a, 1, tap.at); !e.empty())
            return e;
        out = tap;
        return "";
    }
    if (a[0] == "drag") {
        if (a.size() != 5)
            return "usage: picker drag X1 Y1 X2 Y2";
        step::PickerDrag drag;
        if (auto e = point(a, 1, drag.from); !e.empty())
            return e;
        if (auto e = point(a, 3, drag.to); !e.empty())
            return e;
        out = drag;
        return "";
    }
    return oneOf(a[0], {"tap", "drag"}, "a picker step");
}

std::string touchStep(const Words& a, Action& out) {
    if (auto e = oneOf(a[0], {"down", "move", "up"}, "a touch"); !e.empty())
        return e;
    step::Touch touch;
    touch.phase = a[0] == "down" ? TouchPhase::Down : a[0] == "move" ? TouchPhase::Move : TouchPhase::Up;
    if (auto e = screen(a[1], touch.screen); !e.empty())
        return e;
    if (auto e = point(a, 2, touch.at); !e.empty())
        return e;
    out = touch;
    return "";
}

std::string dragStep(const Words& a, Action& out) {
    step::Drag drag;
    if (auto e = screen(a[0], drag.screen); !e.empty())
        return e;
    if (auto e = point(a, 1, drag.from); !e.empty())
        return e;
    if (auto e = point(a, 3, drag.to); !e.empty())
        return e;
    if (a.size() == 6) {
        auto steps = parseInteger(a[5], 1, 1000);
        if (!steps)
            return "the steps of a drag are a whole number from 1 to 1000, not " + quote(a[5]);
        drag.steps = int(*steps);
    }
    out = drag;
    return "";
}

std::string snapshotStep(const Words& a, Action& out) {
    using Of = step::Snapshot::Of;
    static const std::map<std::string, Of> names{{"settings", Of::Settings},   {"phone", Of::Phone},
                                                 {"alert", Of::Alert},         {"lockscreen", Of::LockScreen},
                                                 {"statusbar", Of::StatusBar}, {"screen", Of::Screen}};
    if (auto e = oneOf(a[0], {"settings", "alert", "lockscreen", "statusbar", "screen", "phone"}, "a screen");
        !e.empty())
        return e;
    step::Snapshot snapshot{names.at(a[0]), {}};
    if (auto e = outputFile(a[1], snapshot.file); !e.empty())
        return e;
    out = snapshot;
    return "";
}

// clock add HH:MM[:SS] LABEL [daily] [nosnooze]: the Clock app's picker sets whole minutes.
std::string clockStep(const Words& a, Action& out) {
    if (a[0] != "add")
        return oneOf(a[0], {"add"}, "a clock step");
    if (a.size() < 3)
        return "usage: clock add HH:MM[:SS] LABEL [daily] [nosnooze]";
    int seconds = 0;
    if (auto e = timeOfDay(a[1], seconds); !e.empty())
        return e;
    if (seconds % 60 != 0)
        return "the Clock app sets whole minutes: " + quote(a[1]) +
               " has seconds (use the alarm step for those)";
    step::ClockAdd add{seconds / 3600, (seconds / 60) % 60, a[2]};
    for (size_t i = 3; i < a.size(); ++i) {
        if (auto e = oneOf(a[i], {"daily", "nosnooze"}, "a clock option"); !e.empty())
            return e;
        if (a[i] == "daily")
            add.daily = true;
        else
            add.snooze = false;
    }
    return out = add, "";
}

std::string setupList(const Words& a, const std::vector<std::string>& known, const char* what,
                      std::vector<std::string>& out) {
    for (auto& w : a)
        if (auto e = oneOf(w, known, what); !e.empty())
            return e;
    out = a;
    return "";
}

} // namespace

std::string quote(const std::string& word) {
    return "\"" + excerpt(word) + "\"";
}

std::string oneOf(const std::string& word, const std::vector<std::string>& options, const char* what) {
    std::string list;
    for (const std::string& o : options) {
        if (word == o)
            return "";
        list += (list.empty() ? "" : ", ") + o;
    }
    return std::string(what) + " must be one of " + list + ", not " + quote(word);
}

std::string oneOf(const std::string& word, std::initializer_list<const char*> options, const char* what) {
    return oneOf(word, std::vector<std::string>(options.begin(), options.end()), what);
}

std::string screen(const std::string& word, Screen& out) {
    std::vector<std::string> names;
    for (Screen s : allScreens())
        names.push_back(screenName(s));
    if (auto e = oneOf(word, names, "the screen"); !e.empty())
        return e;
    out = *screenNamed(word);
    return "";
}

std::string point(const Words& a, size_t at, ScreenPoint& out) {
    for (size_t i = at; i < at + 2; ++i)
        if (!parseCoordinate(a[i]))
            return quote(a[i]) + " is not a coordinate (a number of points within 10000)";
    out = {*parseCoordinate(a[at]), *parseCoordinate(a[at + 1])};
    return "";
}

const std::map<std::string, Rule<ScenarioSettings>>& settingRules() {
    static const std::map<std::string, Rule<ScenarioSettings>> table = {
        {"start",
         {2, 2, "start YYYY-MM-DD HH:MM[:SS]",
          [](auto& a, ScenarioSettings& s) -> std::string {
              if (!parseCalendarDay(a[0]))
                  return "the date must be a day of the calendar, YYYY-MM-DD, not " + quote(a[0]);
              if (!parseTimeOfDay(a[1]))
                  return kTimeHelp;
              s.start = a[0] + " " + a[1] + (a[1].size() == 5 ? ":00" : "");
              return "";
          }}},
        {"locale",
         {1, 1, "locale ID", [](auto& a, ScenarioSettings& s) { return s.locale = a[0], std::string(); }}},
        {"timezone",
         {1, 1, "timezone NAME",
          [](auto& a, ScenarioSettings& s) { return s.timeZone = a[0], std::string(); }}},
        {"languages",
         {1, 8, "languages CODE...",
          [](auto& a, ScenarioSettings& s) { return s.languages = a, std::string(); }}},
        {"addons",
         {0, 8, "addons NAME...",
          [](auto& a, ScenarioSettings& s) { return setupList(a, knownAddons(), "an add-on", s.addons); }}},
        {"screen",
         {1, 1, "screen 320x568|375x667|414x736",
          [](auto& a, ScenarioSettings& s) -> std::string {
              if (auto e = oneOf(a[0], knownScreens(), "the screen"); !e.empty())
                  return e;
              return s.screen = a[0], "";
          }}},
        {"springboard-without",
         {1, 9, "springboard-without CLASS...",
          [](auto& a, ScenarioSettings& s) {
              return setupList(a, removableSpringBoardClasses(), "a SpringBoard class", s.springboardWithout);
          }}},
        {"timer-slack",
         {1, 1, "timer-slack DURATION",
          [](auto& a, ScenarioSettings& s) -> std::string {
              auto d = parseDuration(a[0]);
              if (!(d && *d >= 0 && *d <= 86400))
                  return "the slack must be a duration of at most a day, like 30s";
              return s.timerSlack = *d, "";
          }}},
    };
    return table;
}

const std::map<std::string, Rule<Action>>& stepRules() {
    static const std::map<std::string, Rule<Action>> table = {
        {"file",
         {1, 4,
          "file set KEY bool|int|real|string|date VALUE | file remove KEY | file delete | file corrupt | "
          "file write PATH|settings TEXT",
          fileStep}},
        {"boot", {0, 0, "boot", [](auto&, Action& out) { return out = step::Boot{}, std::string(); }}},
        {"respring",
         {0, 0, "respring", [](auto&, Action& out) { return out = step::Respring{}, std::string(); }}},
        {"lock", {0, 0, "lock", [](auto&, Action& out) { return out = step::Lock{true}, std::string(); }}},
        {"unlock",
         {0, 0, "unlock", [](auto&, Action& out) { return out = step::Lock{false}, std::string(); }}},
        {"alarm",
         {2, 4, "alarm HH:MM[:SS] LABEL [nosnooze] [daily] | alarm remove HH:MM[:SS] LABEL",
          [](auto& a, Action& out) -> std::string {
              if (a[0] == "remove") {
                  if (a.size() != 3)
                      return "usage: alarm remove HH:MM[:SS] LABEL";
                  step::RemoveAlarm remove{0, a[2]};
                  if (auto e = timeOfDay(a[1], remove.secondsOfDay); !e.empty())
                      return e;
                  return out = remove, "";
              }
              step::Alarm alarm{0, a[1]};
              if (auto e = timeOfDay(a[0], alarm.secondsOfDay); !e.empty())
                  return e;
              for (size_t i = 2; i < a.size(); ++i) {
                  if (auto e = oneOf(a[i], {"nosnooze", "daily"}, "an alarm option"); !e.empty())
                      return e;
                  if (a[i] == "daily")
                      alarm.daily = true;
                  else
                      alarm.snooze = false;
              }
              return out = alarm, "";
          }}},
        {"addon",
         {2, 2, "addon install|remove NAME",
          [](auto& a, Action& out) -> std::string {
              if (auto e = oneOf(a[0], {"install", "remove"}, "an add-on step"); !e.empty())
                  return e;
              if (auto e = oneOf(a[1], knownAddons(), "an add-on"); !e.empty())
                  return e;
              return out = step::Addon{a[1], a[0] == "install"}, "";
          }}},
        {"notify",
         {1, 1, "notify BUNDLE-ID",
          [](auto& a, Action& out) { return out = step::Notify{a[0]}, std::string(); }}},
        {"wait",
         {1, 1, "wait DURATION",
          [](auto& a, Action& out) -> std::string {
              auto d = parseDuration(a[0]);
              if (!(d && *d >= 0 && a[0][0] != '-'))
                  return kDurationHelp;
              return out = step::Wait{*d}, "";
          }}},
        {"until",
         {1, 1, "until HH:MM[:SS]",
          [](auto& a, Action& out) -> std::string {
              step::Until until;
              if (auto e = timeOfDay(a[0], until.secondsOfDay); !e.empty())
                  return e;
              return out = until, "";
          }}},
        {"jump",
         {1, 3, "jump [-]DURATION | jump to [YYYY-MM-DD] HH:MM[:SS]",
          [](auto& a, Action& out) -> std::string {
              if (a[0] == "to") {
                  if (a.size() < 2)
                      return "usage: jump to [YYYY-MM-DD] HH:MM[:SS]";
                  step::SetClock set;
                  if (a.size() == 3) {
                      set.day = parseCalendarDay(a[1]);
                      if (!set.day)
                          return "the date must be a day of the calendar, YYYY-MM-DD, not " + quote(a[1]);
                  }
                  if (auto e = timeOfDay(a.back(), set.secondsOfDay); !e.empty())
                      return e;
                  return out = set, "";
              }
              if (a.size() != 1)
                  return "usage: jump [-]DURATION | jump to [YYYY-MM-DD] HH:MM[:SS]";
              auto d = parseDuration(a[0]);
              if (!d)
                  return "the duration must be like +2h, -30m (at most 100 years)";
              return out = step::Jump{*d}, "";
          }}},
        {"settings",
         {1, 3,
          "settings open|back | settings tap LABEL | settings switch LABEL on|off | "
          "settings type LABEL TEXT | settings segment LABEL INDEX",
          settingsStep}},
        {"picker", {3, 5, "picker tap X Y | picker drag X1 Y1 X2 Y2", pickerStep}},
        {"touch", {4, 4, "touch down|move|up SCREEN X Y", touchStep}},
        {"tap",
         {3, 3, "tap SCREEN X Y",
          [](auto& a, Action& out) -> std::string {
              step::Tap tap;
              if (auto e = screen(a[0], tap.screen); !e.empty())
                  return e;
              if (auto e = point(a, 1, tap.at); !e.empty())
                  return e;
              return out = tap, "";
          }}},
        {"drag", {5, 6, "drag SCREEN X1 Y1 X2 Y2 [STEPS]", dragStep}},
        {"type",
         {1, 1, "type TEXT", [](auto& a, Action& out) { return out = step::Type{a[0]}, std::string(); }}},
        {"key",
         {1, 1, "key return|backspace",
          [](auto& a, Action& out) -> std::string {
              if (auto e = oneOf(a[0], {"return", "backspace"}, "a key"); !e.empty())
                  return e;
              return out = step::Press{a[0] == "return" ? Key::Return : Key::Backspace}, "";
          }}},
        {"color",
         {2, 3, "color hex TEXT | color channel red|green|blue VALUE",
          [](auto& a, Action& out) -> std::string {
              if (a[0] == "hex")
                  return a.size() == 2 ? (out = step::EnterColor{"hex", a[1]}, "") : "usage: color hex TEXT";
              if (a[0] != "channel")
                  return oneOf(a[0], {"hex", "channel"}, "a color step");
              if (a.size() != 3)
                  return "usage: color channel NAME VALUE";
              if (auto e = oneOf(a[1], {"red", "green", "blue"}, "a channel"); !e.empty())
                  return e;
              return out = step::EnterColor{a[1], a[2]}, "";
          }}},
        {"alert",
         {2, 2, "alert tap TITLE",
          [](auto& a, Action& out) -> std::string {
              if (auto e = oneOf(a[0], {"tap"}, "an alert step"); !e.empty())
                  return e;
              return out = step::TapAlertButton{a[1]}, "";
          }}},
        {"home", {0, 0, "home", [](auto&, Action& out) { return out = step::Home{false}, std::string(); }}},
        {"switcher",
         {0, 0, "switcher", [](auto&, Action& out) { return out = step::Home{true}, std::string(); }}},
        {"open",
         {1, 1, "open Settings|Clock",
          [](auto& a, Action& out) -> std::string {
              if (auto e = oneOf(a[0], {"Settings", "Clock"}, "an app"); !e.empty())
                  return e;
              return out = step::OpenApp{a[0]}, "";
          }}},
        {"clock", {1, 5, "clock add HH:MM[:SS] LABEL [daily] [nosnooze]", clockStep}},
        {"inspect",
         {2, 2, "inspect springboard|settings|phone FILE.json",
          [](auto& a, Action& out) -> std::string {
              step::Inspect inspect;
              if (auto e = screen(a[0], inspect.screen); !e.empty())
                  return e;
              if (auto e = outputFile(a[1], inspect.file); !e.empty())
                  return e;
              return out = inspect, "";
          }}},
        {"expect",
         {2, 21, "expect event|no-event|file|status|icon|alert|row|view|text|no-text|pixel|app ...",
          expectation}},
        {"snapshot",
         {2, 2, "snapshot settings|alert|lockscreen|statusbar|screen|phone FILE.png", snapshotStep}},
    };
    return table;
}

} // namespace sim::rules
