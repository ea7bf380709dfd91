#include "cell/ColorCellInitialLoad.h"

#include "cell/HexColorRule.h"

std::string trimmedHashes(const std::string& value) {
    const auto first = value.find_first_not_of('#');
    if (first == std::string::npos)
        return {};
    const auto last = value.find_last_not_of('#');
    return value.substr(first, last - first + 1);
}

InitialColor initialColorFor(const std::string& defaultValue,
                             const std::optional<StoredColorSettings>& file) {
    InitialColor initial;
    std::string value = defaultValue;
    if (file) {
        if (file->value)
            value = *file->value;
        if (file->alphaPercent)
            initial.buttonAlphaLevel = *file->alphaPercent / 100.0f;
        if (file->colorPickerType)
            initial.colorPickerType = *file->colorPickerType;
    }
    initial.trimmed = trimmedHashes(value);
    initial.hexText = upperCased("#" + initial.trimmed);
    initial.channels = hexColorChannels(initial.trimmed);
    return initial;
}
