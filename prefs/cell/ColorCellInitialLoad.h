// The color a new color cell starts with, from its "default" and the settings file.
#pragma once

#include "cell/ColorRules.h"

#include <optional>
#include <string>

// What the settings file holds for the cell, already read by the value readings: the text
// under the cell's key, "buttonAlphaLevel" (percent, `floatValue`) and "colorPickerType"
// (`intValue`). Each is none when the file lacks it.
struct StoredColorSettings {
    std::optional<std::string> value;
    std::optional<float> alphaPercent;
    std::optional<int> colorPickerType;
};

struct InitialColor {
    std::string trimmed;    // the value without "#" at either end
    std::string hexText;    // "#" and the trimmed value, upper case: the stored text, not the parsed color
    ColorChannels channels; // the trimmed value by the hex color rule
    float buttonAlphaLevel = 1.0f;
    int colorPickerType = 0;
};

// file: none when the cell has no domain or the file does not read.
InitialColor initialColorFor(const std::string& defaultValue, const std::optional<StoredColorSettings>& file);

// Every "#" removed from both ends.
std::string trimmedHashes(const std::string& value);
