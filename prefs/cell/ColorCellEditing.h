// The color cell's editing rules: value labels, picker components, the four entry prompts and
// what an answer to them does. No views here; the cell turns these into view calls.
#pragma once

#include <functional>
#include <optional>
#include <string>

enum class ColorChannel { Red, Green, Blue };

// The number a value label shows for slider value v: v rounded to two decimals in single
// precision, then cut to an integer (12.7 shows 12, 254.994 shows 254, 254.996 shows 255).
int labelNumberForSliderValue(float v);
// The label text: that number through the cell's decimal formatter.
std::string labelTextForSliderValue(float v, const std::function<std::string(int)>& formatDecimal);

// The slider value for a picker component in [0, 1]: × 255 in double precision, to single
// precision, rounded half away from zero (0.5 gives 128).
float sliderValueForComponent(double component);

// Entry prompts, told apart by their tags.
inline constexpr long kRedPromptTag = 2626;
inline constexpr long kGreenPromptTag = 2627;
inline constexpr long kBluePromptTag = 2628;
inline constexpr long kHexPromptTag = 2629;
inline constexpr long kPromptSaveIndex = 1;

long promptTagForChannel(ColorChannel channel);
// The channel prompt: bounds truncated toward zero, each followed by the unit text.
std::string channelPromptMessage(ColorChannel channel, float min, float max, const std::string& unit);
std::string hexPromptMessage(const std::string& currentHexText);
// A range reaching below zero starts the channel field with "-", so a number pad can enter it.
std::string channelPromptPrefill(float min);

// What an answer to a prompt does: nothing, apply a channel, or apply a hex color.
struct PromptAnswer {
    enum Kind { Ignore, Channel, Hex } kind = Ignore;
    ColorChannel channel = ColorChannel::Red;
    bool operator==(const PromptAnswer&) const = default;
};
PromptAnswer promptAnswerFor(long tag, long buttonIndex);

// The settings file of a domain: "/var/mobile/Library/Preferences/<domain>.plist".
std::string colorSettingsPath(const std::string& domain);
