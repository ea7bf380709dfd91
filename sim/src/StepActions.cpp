#include "StepActions.h"

#include "device/LocalTime.h"

namespace sim {
namespace {

std::string removeAlarm(World& world, const step::RemoveAlarm& s) {
    for (const AlarmInfo& a : world.alarms())
        if (a.secondsOfDay == s.secondsOfDay && a.label == s.label)
            return world.removeAlarm(a.alarmId);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", s.secondsOfDay / 3600, s.secondsOfDay / 60 % 60,
                  s.secondsOfDay % 60);
    return std::string("no alarm at ") + time + " labelled \"" + excerpt(s.label) + "\"";
}

std::string setSetting(World& world, const step::SetSetting& s) {
    return std::visit(Visitor{
                          [&](bool v) { return world.setSetting(s.key, v); },
                          [&](long long v) { return world.setSetting(s.key, NSInteger(v)); },
                          [&](double v) { return world.setSetting(s.key, v); },
                          [&](const std::string& v) { return world.setSetting(s.key, v); },
                          [&](const step::FromNow& v) { return world.setSettingFromNow(s.key, v.seconds); },
                      },
                      s.value);
}

} // namespace

std::optional<std::string> performStep(Device& d, const Action& action) {
    World& world = d.world();
    Input& input = d.input();
    auto at = [](ScreenPoint p) { return CGPoint{p.x, p.y}; };
    using Result = std::optional<std::string>;
    return std::visit(
        Visitor{
            [&](const step::Boot&) -> Result { return d.boot(); },
            [&](const step::Lock& s) -> Result { return world.lock(s.locked); },
            [&](const step::Alarm& s) -> Result {
                return world.addAlarm({s.secondsOfDay, s.label, s.snooze, s.daily});
            },
            [&](const step::RemoveAlarm& s) -> Result { return removeAlarm(world, s); },
            [&](const step::Notify& s) -> Result { return world.notify(s.bundleIdentifier); },
            [&](const step::Wait& s) -> Result { return world.advance(s.seconds); },
            [&](const step::Until& s) -> Result { return world.advanceTo(s.secondsOfDay); },
            [&](const step::Jump& s) -> Result {
                return world.setClock(d.now().dateByAddingTimeInterval(s.seconds));
            },
            [&](const step::SetClock& s) -> Result { return world.setLocalTime(s.day, s.secondsOfDay); },
            [&](const step::SetSetting& s) -> Result { return setSetting(world, s); },
            [&](const step::RemoveSetting& s) -> Result { return world.removeSetting(s.key); },
            [&](const step::DeleteSettingsFile&) -> Result { return world.deleteSettingsFile(); },
            [&](const step::CorruptSettingsFile&) -> Result { return world.corruptSettingsFile(); },
            [&](const step::WriteFile& s) -> Result {
                return s.devicePath ? world.writeFile(*s.devicePath, s.bytes)
                                    : world.writeSettingsFile(s.bytes);
            },
            [&](const step::OpenSettings&) -> Result { return input.openSettings(); },
            [&](const step::SettingsBack&) -> Result { return input.settingsBack(); },
            [&](const step::TapRow& s) -> Result { return input.tapRow(s.label); },
            [&](const step::SwitchRow& s) -> Result { return input.setRowSwitch(s.label, s.on); },
            [&](const step::TypeInRow& s) -> Result { return input.typeInRow(s.label, s.text); },
            [&](const step::PickSegment& s) -> Result { return input.pickRowSegment(s.label, s.index); },
            [&](const step::PickerTap& s) -> Result { return input.tapPicker(at(s.at)); },
            [&](const step::PickerDrag& s) -> Result { return input.dragPicker(at(s.from), at(s.to)); },
            [&](const step::Touch& s) -> Result { return input.touch(s.screen, s.phase, at(s.at)); },
            [&](const step::Tap& s) -> Result { return input.tap(s.screen, at(s.at)); },
            [&](const step::Drag& s) -> Result {
                return input.drag(s.screen, at(s.from), at(s.to), s.steps);
            },
            [&](const step::Type& s) -> Result { return input.type(s.text); },
            [&](const step::Press& s) -> Result { return input.press(s.key); },
            [&](const step::EnterColor& s) -> Result { return input.enterColor(s.prompt, s.text); },
            [&](const step::TapAlertButton& s) -> Result { return input.tapAlertButton(s.title); },
            [&](const step::Home& s) -> Result { return s.twice ? input.showSwitcher() : input.pressHome(); },
            [&](const step::OpenApp& s) -> Result { return input.openApp(s.name); },
            [&](const step::ClockAdd& s) -> Result {
                return input.addClockAlarm({s.hour, s.minute, s.label, s.daily, s.snooze});
            },
            [&](const auto&) -> Result { return std::nullopt; }, // the front end's own
        },
        action);
}

} // namespace sim
