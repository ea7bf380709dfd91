// A scenario's steps as the parser leaves them: one struct a kind of step, its fields checked
// and converted (times in seconds of the day, durations in seconds, points in screen points,
// colors as "#RRGGBBAA"). The runner and the expectation checker visit these; neither reads a
// word of the text again. Where a message quotes what the scenario wrote, the word is kept too.
#pragma once

#include "device/Names.h"
#include "words/Words.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sim {

struct ScreenPoint {
    double x = 0, y = 0;
};

namespace step {
struct Boot {};
struct Respring {};
struct Lock {
    bool locked = true;
};
struct Alarm {
    int secondsOfDay = 0;
    std::string label;
    bool snooze = true;
    bool daily = false;
};
// `alarm remove HH:MM[:SS] LABEL`: the first alarm with that time and label goes.
struct RemoveAlarm {
    int secondsOfDay = 0;
    std::string label;
};
struct Notify {
    std::string bundleIdentifier;
};
struct Wait {
    double seconds = 0;
};
struct Until {
    int secondsOfDay = 0;
};
struct Jump {
    double seconds = 0; // forward or back
};
// `jump to [YYYY-MM-DD] HH:MM[:SS]`: the clock set to that local time (today when no day is given).
struct SetClock {
    std::optional<CalendarDay> day;
    int secondsOfDay = 0;
};
// `addon install|remove NAME`: the add-on's files go in or out at the next respring.
struct Addon {
    std::string name;
    bool install = true;
};
// `file set KEY date OFFSET`: the moment that far from the step's time.
struct FromNow {
    double seconds = 0;
};
struct SetSetting {
    std::string key;
    std::variant<bool, long long, double, std::string, FromNow> value;
};
struct RemoveSetting {
    std::string key;
};
struct DeleteSettingsFile {};
struct CorruptSettingsFile {};
struct WriteFile {
    std::optional<std::string> devicePath; // none: the settings file
    std::string bytes;
};
struct OpenSettings {};
struct SettingsBack {};
struct TapRow {
    std::string label;
};
struct SwitchRow {
    std::string label;
    bool on = false;
};
struct TypeInRow {
    std::string label, text;
};
struct PickSegment {
    std::string label;
    long index = 0;
};
struct PickerTap {
    ScreenPoint at;
};
struct PickerDrag {
    ScreenPoint from, to;
};
struct Touch {
    TouchPhase phase = TouchPhase::Down;
    Screen screen = Screen::SpringBoard;
    ScreenPoint at;
};
struct Tap {
    Screen screen = Screen::SpringBoard;
    ScreenPoint at;
};
struct Drag {
    Screen screen = Screen::SpringBoard;
    ScreenPoint from, to;
    int steps = 10;
};
struct Type {
    std::string text;
};
struct Press {
    Key key = Key::Return;
};
// The color page's prompts: "hex", "red", "green" or "blue".
struct EnterColor {
    std::string prompt, text;
};
struct TapAlertButton {
    std::string title;
};
struct Inspect {
    Screen screen = Screen::SpringBoard;
    std::string file; // relative, inside the output folder
};
// The phone's home button: once (`home`), or twice (`switcher`).
struct Home {
    bool twice = false;
};
// Opens "Settings" or "Clock" by its icon on the home screen.
struct OpenApp {
    std::string name;
};
// `clock add`: an alarm set through the Clock app's screens (whole minutes).
struct ClockAdd {
    int hour = 0, minute = 0;
    std::string label;
    bool daily = false;
    bool snooze = true;
};
struct Snapshot {
    enum class Of { Settings, Alert, LockScreen, StatusBar, Screen, Phone } of = Of::Screen;
    std::string file; // relative, inside the output folder
};
} // namespace step

namespace expect {
struct Event {
    std::string text;
    bool absent = false; // `expect no-event`
};
struct File {
    std::string key, value; // value: as settingText shows it, or "absent" / "present"
};
struct Status {
    std::string prefix;
};
struct Icon {
    bool shown = true;
};
struct AlertShown {
    std::string title; // "none" when no alert should show
};
struct AlertTag {
    long long tag = 0;
};
struct AlertText {
    enum class Part { Title, Message, Field } part = Part::Title;
    std::string text;
};
struct AlertButtons {
    std::vector<std::string> titles;
};
struct RowState {
    std::string label;
    bool enabled = true;
};
struct RowValue {
    std::string label, value;
};
struct RowColor {
    std::string label;
    bool background = true; // else the text color
    std::string color;      // "#RRGGBBAA" or "none"
    std::string written;
};
// A view property and the value it must have, as written and as compared.
struct ViewProperty {
    enum class Kind { Color, Flag, Number, Coordinate, Tag, Text } kind = Kind::Text;
    std::string name, written;
    std::string color; // Color: "#RRGGBBAA" or "none"
    double number = 0; // Number, Coordinate
    long long tag = 0; // Tag
};
struct View {
    std::optional<Screen> screen; // none: springboard or settings
    std::string selector;         // as written: a text, "tag:N" or "class:NAME"
    std::optional<long long> tag; // a tag selector's number
    std::optional<std::string> className;
    std::vector<ViewProperty> properties;
};
struct Text {
    std::string text;
    bool present = true;
};
// What is in front on the phone: "Settings", "Clock", "home", "lock" (or "switcher").
struct AppInFront {
    std::string name;
};
struct Pixel {
    Screen screen = Screen::SpringBoard;
    ScreenPoint at;
    std::string color; // "#RRGGBBAA" or "none"
    std::string writtenX, writtenY, writtenColor;
};
} // namespace expect

using Expectation = std::variant<expect::Event, expect::File, expect::Status, expect::Icon,
                                 expect::AlertShown, expect::AlertTag, expect::AlertText,
                                 expect::AlertButtons, expect::RowState, expect::RowValue, expect::RowColor,
                                 expect::View, expect::Text, expect::Pixel, expect::AppInFront>;

using Action =
    std::variant<step::Boot, step::Respring, step::Lock, step::Alarm, step::RemoveAlarm, step::Notify,
                 step::Wait, step::Until, step::Jump, step::SetClock, step::Addon, step::SetSetting,
                 step::RemoveSetting, step::DeleteSettingsFile, step::CorruptSettingsFile, step::WriteFile,
                 step::OpenSettings, step::SettingsBack, step::TapRow, step::SwitchRow, step::TypeInRow,
                 step::PickSegment, step::PickerTap, step::PickerDrag, step::Touch, step::Tap, step::Drag,
                 step::Type, step::Press, step::EnterColor, step::TapAlertButton, step::Inspect,
                 step::Snapshot, step::Home, step::OpenApp, step::ClockAdd, Expectation>;

// Overloaded lambdas for std::visit.
template <class... F> struct Visitor : F... { using F::operator()...; };
template <class... F> Visitor(F...) -> Visitor<F...>;

} // namespace sim
