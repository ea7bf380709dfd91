#include "cell/ColorCellEditing.h"

#include "cell/ColorRules.h"

#include <cmath>

int labelNumberForSliderValue(float v) {
    const float hundredths = std::round(v * 100.0f);
    const double value = static_cast<double>(hundredths) / 100.0;
    return truncateToInt(value);
}

std::string labelTextForSliderValue(float v, const std::function<std::string(int)>& formatDecimal) {
    return formatDecimal(labelNumberForSliderValue(v));
}

float sliderValueForComponent(double component) {
    return std::round(static_cast<float>(component * 255.0));
}

long promptTagForChannel(ColorChannel channel) {
    switch (channel) {
    case ColorChannel::Green:
        return kGreenPromptTag;
    case ColorChannel::Blue:
        return kBluePromptTag;
    case ColorChannel::Red:
        break;
    }
    return kRedPromptTag;
}

std::string channelPromptMessage(ColorChannel channel, float min, float max, const std::string& unit) {
    const char* name = channel == ColorChannel::Red     ? "Red"
                       : channel == ColorChannel::Green ? "Green"
                                                        : "Blue";
    return std::string("Please enter a value for ") + name + " between\n" +
           std::to_string(truncateToInt(min)) + unit + " and " + std::to_string(truncateToInt(max)) + unit;
}

std::string hexPromptMessage(const std::string& currentHexText) {
    return "Please enter a hex value between\n#000000 and #FFFFFF\nCurrent value is: " + currentHexText;
}

std::string channelPromptPrefill(float min) {
    return min < 0 ? "-" : "";
}

PromptAnswer promptAnswerFor(long tag, long buttonIndex) {
    if (buttonIndex != kPromptSaveIndex)
        return {};
    switch (tag) {
    case kRedPromptTag:
        return {PromptAnswer::Channel, ColorChannel::Red};
    case kGreenPromptTag:
        return {PromptAnswer::Channel, ColorChannel::Green};
    case kBluePromptTag:
        return {PromptAnswer::Channel, ColorChannel::Blue};
    case kHexPromptTag:
        return {PromptAnswer::Hex, ColorChannel::Red};
    default:
        return {};
    }
}

std::string colorSettingsPath(const std::string& domain) {
    return "/var/mobile/Library/Preferences/" + domain + ".plist";
}
