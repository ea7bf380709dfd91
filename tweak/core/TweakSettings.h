// What the tweak knows of the settings file: one record, read by every decision.
#pragma once

#include "core/ButtonColor.h"
#include "foundation/NSDate.h"
#include "foundation/PlistValue.h"
#include "rules/DisarmTime.h"

#include <cstdint>
#include <optional>
#include <string>

struct TweakSettings {
    bool enabled = false;
    bool enableIcon = true;
    bool enableAlertButtons = false;
    std::int32_t disarmSeconds = kDefaultDisarmSeconds;
    std::optional<NSDate> disarmedUntil;
    std::string buttonText;
    ButtonColors buttonColors; // buttonColor and buttonTitleColor
    PlistDict settingsCopy;    // the whole file as last read; the alert-button disarm writes it back
};

// Reads the file's dictionary (none when it could not be read) into the record. Keys that are
// absent keep the record's values, except "disarmedUntil", "buttonText" and "buttonColor", which
// are always replaced. An unread file only turns `enabled` off and empties `settingsCopy`.
// Returns whether the file was read.
bool readTweakSettings(TweakSettings& settings, std::optional<PlistDict> file);
