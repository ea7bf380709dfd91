#include "Actions.h"

#include "ActionRequest.h"
#include "StepWriter.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"
#include "words/Words.h"

#include <chrono>
#include <cmath>
#include <optional>

namespace sim::web {
namespace {
Reply answer(const std::string& deviceError) {
    return deviceError.empty() ? Reply::ok() : Reply::error(409, deviceError);
}

// Runs `work` on the device thread and, when the device took it, records `step` in the session
// with the device times it began and ended at.
Reply recorded(DeviceHost& host, sim::Action step, std::function<std::string(Device&)> work) {
    return host.call([&host, step = std::move(step), work = std::move(work)](Device& d) {
        const NSDate began = d.now();
        const std::string e = work(d);
        if (e.empty())
            host.session().record(step, began, d.now());
        return answer(e);
    });
}

Reply touch(DeviceHost& host, const web::Action& a, Screen screen) {
    const std::string& phase = a.phase;
    const CGPoint point{a.x, a.y};
    const std::string name = screenName(screen);
    if (std::string e = host.fingers().claim(name, a.finger, phase, std::chrono::steady_clock::now());
        !e.empty())
        return Reply::error(409, e);
    if (phase == "move")
        return host.move(screen, point);
    const ScreenPoint at{a.x, a.y};
    Reply reply = host.call([&host, phase, screen, point, at](Device& d) {
        host.touched(screen);
        const NSDate began = d.now();
        std::string e = phase == "down" ? d.input().touchDown(screen, point)
                        : phase == "up" ? d.input().touchUp(screen, point)
                                        : d.input().tap(screen, point);
        if (e.empty())
            host.session().record(phase == "tap"
                                      ? sim::Action(step::Tap{screen, at})
                                      : sim::Action(step::Touch{
                                            phase == "down" ? TouchPhase::Down : TouchPhase::Up, screen, at}),
                                  began, d.now());
        return answer(e);
    });
    if (phase != "down" || reply.status != 200)
        host.fingers().release(name, a.finger);
    return reply;
}

// The step of a jump to the next alarm: `until` its time of day when that lands on the same
// moment (a whole second within a day), else the wait it took.
sim::Action nextAlarmStep(NSDate began, NSDate after, const std::string& zone) {
    const double seconds = localSecondsOfDay(after, zone);
    const int whole = int(std::lround(seconds));
    if (std::fabs(seconds - whole) < 1e-6) {
        auto reached = nextLocalTime(began, whole % 86400, zone);
        if (reached && reached->timeIntervalSinceReferenceDate == after.timeIntervalSinceReferenceDate)
            return step::Until{whole % 86400};
    }
    return step::Wait{after.timeIntervalSinceReferenceDate - began.timeIntervalSinceReferenceDate};
}

} // namespace

Reply performAction(DeviceHost& host, const nlohmann::json& request) {
    std::vector<ActionScreen> screens;
    for (Screen screen : allScreens()) {
        const CGSize extent = host.extent(screen);
        screens.push_back({screenName(screen), extent.width, extent.height});
    }
    ParsedAction parsed = parseAction(request, screens);
    if (!parsed.action)
        return Reply::error(parsed.status, parsed.error);
    const web::Action& a = *parsed.action;
    const std::string& action = a.name;

    if (action == "touch" || action == "tap")
        return touch(host, a, *screenNamed(screens[a.screen].name));
    if (action == "type")
        return recorded(host, step::Type{a.text},
                        [text = a.text](Device& d) { return d.input().type(text); });
    if (action == "key") {
        const Key key = a.text == "return" ? Key::Return : Key::Backspace;
        return recorded(host, step::Press{key}, [key](Device& d) { return d.input().press(key); });
    }
    if (action == "lock")
        return recorded(host, step::Lock{a.flag},
                        [locked = a.flag](Device& d) { return d.world().lock(locked); });
    if (action == "addAlarm") {
        AlarmRequest alarm;
        alarm.label = a.label;
        alarm.snooze = a.snooze;
        alarm.daily = a.daily;
        alarm.secondsOfDay = a.secondsOfDay;
        return host.call([&host, alarm](Device& d) {
            std::string id;
            const NSDate began = d.now();
            std::string e = d.world().addAlarm(alarm, &id);
            if (!e.empty())
                return Reply::error(409, e);
            host.session().record(step::Alarm{alarm.secondsOfDay, alarm.label, alarm.snooze, alarm.daily},
                                  began, d.now());
            return Reply::ok({{"id", id}});
        });
    }
    if (action == "removeAlarm") {
        return host.call([&host, id = a.text](Device& d) {
            // Written by its time and label, which the replay's alarm has too (its id differs).
            std::optional<step::RemoveAlarm> removed;
            for (const AlarmInfo& alarm : d.world().alarms())
                if (alarm.alarmId == id)
                    removed = step::RemoveAlarm{alarm.secondsOfDay, alarm.label};
            const NSDate began = d.now();
            std::string e = d.world().removeAlarm(id);
            if (e.empty() && removed)
                host.session().record(*removed, began, d.now());
            return answer(e);
        });
    }
    if (action == "alertButton")
        return recorded(host, step::TapAlertButton{a.text},
                        [title = a.text](Device& d) { return d.input().tapAlertButton(title); });
    if (action == "rate") {
        return host.call([&host, rate = a.rate](Device& d) {
            host.setRate(rate);
            host.session().note(rate == 0 ? "the clock paused" : "the clock at " + writeNumber(rate) + "x",
                                d.now());
            return Reply::ok();
        });
    }
    if (action == "nextAlarm") {
        return host.call([&host](Device& d) {
            const NSDate began = d.now();
            std::string e = d.world().advanceToNextAlarm();
            if (e.empty())
                host.session().record(nextAlarmStep(began, d.now(), d.world().timeZone()), began, d.now());
            return answer(e);
        });
    }
    if (action == "setTime")
        return recorded(host, step::SetClock{a.day, a.secondsOfDay},
                        [day = a.day, seconds = a.secondsOfDay](Device& d) {
                            return d.world().setLocalTime(day, seconds);
                        });
    if (action == "addon") {
        return host.call([&host, name = a.text, install = a.flag](Device& d) {
            host.addons().choose(name, install);
            host.session().record(step::Addon{name, install}, d.now(), d.now());
            return Reply::ok();
        });
    }
    if (action == "reset") {
        return host.call([&host, a](Device& d) {
            if (std::string e = host.addons().apply(d.root()); !e.empty())
                return Reply::error(500, "cannot change the add-ons: " + e);
            DeviceImageOptions fresh;
            fresh.addons = installedAddons(d.root());
            fresh.locale = a.locale;
            fresh.timeZone = a.timeZone;
            fresh.setup = *setupForScreen(a.screenSize, d.setup()); // checked by parseAction
            // The languages carry over from the device as it is.
            const PlistDict global =
                dictionaryWithContentsOfFile(kGlobalPreferencesPath).value_or(PlistDict{});
            const PlistValue& languages = valueForKey(global, "AppleLanguages");
            if (languages.isArray() && !languages.asArray().empty()) {
                fresh.languages.clear();
                for (const PlistValue& language : languages.asArray())
                    fresh.languages.push_back(language.asString());
            }
            host.requestReset(fresh);
            return Reply::ok({{"relaunching", true}});
        });
    }
    if (action == "home" || action == "switcher") {
        const bool twice = action == "switcher";
        return recorded(host, step::Home{twice}, [twice](Device& d) {
            return twice ? d.input().showSwitcher() : d.input().pressHome();
        });
    }
    if (action == "open")
        return recorded(host, step::OpenApp{a.text},
                        [name = a.text](Device& d) { return d.input().openApp(name); });
    if (action == "respring") {
        return host.call([&host](Device& d) {
            if (!d.isBooted())
                return Reply::error(409, "the device is not booted");
            if (std::string e = host.addons().apply(d.root()); !e.empty())
                return Reply::error(500, "cannot change the add-ons: " + e);
            host.session().record(step::Respring{}, d.now(), d.now());
            PlistDict saved{{"rate", host.rate()}};
            host.session().save(saved);
            if (!d.saveForRespring(saved))
                return Reply::error(500, "cannot save the device state for the respring");
            host.requestRelaunch();
            return Reply::ok({{"relaunching", true}});
        });
    }
    return Reply::error(400, "no action \"" + excerpt(action) +
                                 "\""); // parseAction knows every action it lets through
}

} // namespace sim::web
