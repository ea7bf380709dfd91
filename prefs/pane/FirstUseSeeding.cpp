#include "pane/FirstUseSeeding.h"

bool seedFirstUse(PlistDict& settings) {
    if (settings.contains("buttonColor"))
        return false;
    // emplace leaves an existing entry alone: the user's own text or choice is kept.
    settings.emplace("buttonColor", PlistValue("#FF0000"));
    settings.emplace("buttonText", PlistValue("Hushmark"));
    settings.emplace("preferColorPicker", PlistValue(true));
    settings.emplace("colorPickerType", PlistValue(0));
    return true;
}
