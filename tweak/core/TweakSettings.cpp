#include "core/TweakSettings.h"

namespace {
constexpr const char* kDefaultButtonText = "Hushmark";
constexpr const char* kDefaultButtonColor = "FF0000";

void readBool(const PlistDict& file, const char* key, bool& field) {
    const PlistValue& v = valueForKey(file, key);
    if (!v.isNone())
        field = v.boolValue();
}

// A string value, or `fallback` when the key is absent or holds no text.
std::string stringOr(const PlistDict& file, const char* key, const char* fallback) {
    const PlistValue& v = valueForKey(file, key);
    return v.isString() ? v.asString() : std::string(fallback);
}
} // namespace

bool readTweakSettings(TweakSettings& settings, std::optional<PlistDict> file) {
    if (!file) {
        settings.enabled = false;
        settings.settingsCopy = PlistDict{};
        return false;
    }
    settings.settingsCopy = std::move(*file);
    const PlistDict& f = settings.settingsCopy;

    readBool(f, "enabled", settings.enabled);
    readBool(f, "enableIcon", settings.enableIcon);
    readBool(f, "enableAlertButtons", settings.enableAlertButtons);

    const PlistValue& minutes = valueForKey(f, "disableForMinutes");
    if (!minutes.isNone())
        settings.disarmSeconds = disarmSecondsForMinutes(minutes.intValue());

    // A deadline of any other type than a date is outside the file's format: read as none.
    const PlistValue& until = valueForKey(f, "disarmedUntil");
    settings.disarmedUntil = until.isDate() ? std::optional<NSDate>(until.asDate()) : std::nullopt;

    settings.buttonText = stringOr(f, "buttonText", kDefaultButtonText);
    settings.buttonColors = parseButtonColor(stringOr(f, "buttonColor", kDefaultButtonColor));
    return true;
}
