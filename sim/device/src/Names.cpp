#include "device/Names.h"

namespace sim {

const std::vector<Screen>& allScreens() {
    static const std::vector<Screen> screens{Screen::SpringBoard, Screen::Settings, Screen::Phone};
    return screens;
}

const char* screenName(Screen screen) {
    switch (screen) {
    case Screen::SpringBoard:
        return "springboard";
    case Screen::Settings:
        return "settings";
    case Screen::Phone:
        break;
    }
    return "phone";
}

std::optional<Screen> screenNamed(const std::string& name) {
    for (Screen screen : allScreens())
        if (name == screenName(screen))
            return screen;
    return std::nullopt;
}

const std::vector<std::string>& knownScreens() {
    static const std::vector<std::string> names{"320x568", "375x667", "414x736"};
    return names;
}

const std::vector<std::string>& removableSpringBoardClasses() {
    static const std::vector<std::string> names{"SpringBoard",
                                                "SBApplication",
                                                "SBClockDataProvider",
                                                "SBBulletinModalAlert",
                                                "SBLockScreenViewController",
                                                "SBAwayBulletinListItem",
                                                "PCSimpleTimer",
                                                "AlarmManager",
                                                "UIConcreteLocalNotification"};
    return names;
}

const std::vector<std::string>& knownAddons() {
    static const std::vector<std::string> names{"libstatusbar8", "libstatusbar", "flipswitch", "hushmarkfs",
                                                "protean"};
    return names;
}

} // namespace sim
