#include "Actions.h"

#include "ActionRequest.h"

#include "device/DeviceImage.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"
#include "words/Words.h"

#include <optional>

namespace sim::web {
namespace {
Reply answer(const std::string& deviceError) {
    return deviceError.empty() ? Reply::ok() : Reply::error(409, deviceError);
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
    const Action& a = *parsed.action;
    const std::string& action = a.name;

    if (action == "touch" || action == "tap") {
        const std::string phase = a.phase;
        const std::optional<Screen> screen = screenNamed(screens[a.screen].name);
        const CGPoint point{a.x, a.y};
        if (phase == "move")
            return host.move(*screen, point);
        return host.call([=, &host](Device& d) {
            host.touched(*screen);
            if (phase == "down")
                return answer(d.input().touchDown(*screen, point));
            if (phase == "up")
                return answer(d.input().touchUp(*screen, point));
            return answer(d.input().tap(*screen, point));
        });
    }
    if (action == "type") {
        return host.call([text = a.text](Device& d) { return answer(d.input().type(text)); });
    }
    if (action == "key") {
        return host.call([key = a.text](Device& d) {
            return answer(d.input().press(key == "return" ? Key::Return : Key::Backspace));
        });
    }
    if (action == "lock") {
        return host.call([locked = a.flag](Device& d) { return answer(d.world().lock(locked)); });
    }
    if (action == "addAlarm") {
        AlarmRequest alarm;
        alarm.label = a.label;
        alarm.snooze = a.snooze;
        alarm.daily = a.daily;
        alarm.secondsOfDay = a.secondsOfDay;
        return host.call([alarm](Device& d) {
            std::string id;
            std::string e = d.world().addAlarm(alarm, &id);
            return e.empty() ? Reply::ok({{"id", id}}) : Reply::error(409, e);
        });
    }
    if (action == "removeAlarm") {
        return host.call([id = a.text](Device& d) { return answer(d.world().removeAlarm(id)); });
    }
    if (action == "alertButton") {
        return host.call([title = a.text](Device& d) { return answer(d.input().tapAlertButton(title)); });
    }
    if (action == "rate") {
        return host.call([&host, rate = a.rate](Device&) {
            host.setRate(rate);
            return Reply::ok();
        });
    }
    if (action == "nextAlarm") {
        return host.call([](Device& d) { return answer(d.world().advanceToNextAlarm()); });
    }
    if (action == "setTime") {
        return host.call([day = a.day, seconds = a.secondsOfDay](Device& d) {
            return answer(d.world().setLocalTime(day, seconds));
        });
    }
    if (action == "addon") {
        return host.call([&host, name = a.text, install = a.flag](Device&) {
            host.addons().choose(name, install);
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
        return host.call([twice = action == "switcher"](Device& d) {
            return answer(twice ? d.input().showSwitcher() : d.input().pressHome());
        });
    }
    if (action == "open") {
        return host.call([name = a.text](Device& d) { return answer(d.input().openApp(name)); });
    }
    if (action == "respring") {
        return host.call([&host](Device& d) {
            if (!d.isBooted())
                return Reply::error(409, "the device is not booted");
            if (std::string e = host.addons().apply(d.root()); !e.empty())
                return Reply::error(500, "cannot change the add-ons: " + e);
            if (!d.saveForRespring(PlistDict{{"rate", host.rate()}}))
                return Reply::error(500, "cannot save the device state for the respring");
            host.requestRelaunch();
            return Reply::ok({{"relaunching", true}});
        });
    }
    return Reply::error(400, "no action \"" + excerpt(action) +
                                 "\""); // parseAction knows every action it lets through
}

} // namespace sim::web
