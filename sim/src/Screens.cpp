#include "Screens.h"

namespace sim {
namespace {

const char* kEnabled = "file set enabled bool true\nfile set enableAlertButtons bool true\n";

std::string colorPage(const char* type, bool pickerAbove) {
    return std::string("addons libstatusbar\nboot\nfile set colorPickerType int ") + type +
           "\nfile set preferColorPicker bool " + (pickerAbove ? "true" : "false") +
           "\nsettings open\nsettings tap \"Button Color\"\nsnapshot settings @OUT@\n";
}

} // namespace

const std::map<std::string, std::string>& screenScenarios() {
    static const std::map<std::string, std::string> screens = {
        {"root", "addons libstatusbar\nboot\nsettings open\nsnapshot settings @OUT@\n"},
        {"color", colorPage("0", true)},
        {"color-h", colorPage("0", true)},
        {"color-s", colorPage("1", true)},
        {"color-b", colorPage("2", true)},
        {"color-below", colorPage("0", false)},
        {"alert-modal", std::string("start 2026-12-07 06:59\naddons libstatusbar\n") + kEnabled +
                            "boot\nalarm 07:00 \"Wake up\"\nuntil 07:00:01\nsnapshot alert @OUT@\n"},
        {"alert-lock", std::string("start 2026-12-07 06:59\naddons libstatusbar\n") + kEnabled +
                           "boot\nlock\nalarm 07:00 \"Wake up\"\nuntil 07:00:01\nsnapshot alert @OUT@\n"},
        {"lockscreen",
         "start 2026-12-07 06:59\naddons libstatusbar\nboot\nlock\nsnapshot lockscreen @OUT@\n"},
        {"statusbar",
         std::string("addons libstatusbar\n") + kEnabled +
             "boot\nsettings open\nsettings tap \"Disarm Now\"\nwait 6s\nsnapshot statusbar @OUT@\n"},
    };
    return screens;
}

} // namespace sim
