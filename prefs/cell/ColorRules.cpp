#include "cell/ColorRules.h"

#include <cmath>
#include <cstdio>
#include <limits>

int truncateToInt(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<int>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

ColorChannels channelsFromSliderValues(float r, float g, float b) {
    return {truncateToInt(r), truncateToInt(g), truncateToInt(b)};
}

std::string hexTextForChannels(ColorChannels c) {
    // "%02x" of an int prints its 32-bit pattern, so a negative channel gives eight digits.
    char text[32];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(c.r), static_cast<unsigned>(c.g),
                  static_cast<unsigned>(c.b));
    return text;
}

bool useWhiteFont(int r, int g, int b, float a) {
    // Single precision for the compositing, double for the luma: the steps of the device's code,
    // which decide the colors whose luma lies right at the threshold.
    const float k = (1.0f - a) * 255.0f;
    const float rf = static_cast<float>(r) * a + k;
    const float gf = static_cast<float>(g) * a + k;
    const float bf = static_cast<float>(b) * a + k;
    // White when L/-255 + 1 >= 0.5, which is 1 - L/255 >= 0.5 to the bit (a negated quotient and
    // an added negation round alike): the shared rule's other side.
    return !takesBlackText({truncateToInt(rf), truncateToInt(gf), truncateToInt(bf)});
}

PickerType pickerTypeFor(int colorPickerType) {
    switch (colorPickerType) {
    case 2:
        return PickerType::Brightness;
    case 1:
        return PickerType::Saturation;
    default:
        return PickerType::Hue;
    }
}

const char* pickerClassName(PickerType type) {
    switch (type) {
    case PickerType::Brightness:
        return "HMColorPickerView_B";
    case PickerType::Saturation:
        return "HMColorPickerView_S";
    case PickerType::Hue:
        break;
    }
    return "HMColorPickerView_H";
}

std::string upperCased(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    return text;
}
