// The color cell's color arithmetic: channels, the hex text, the sample's text color and the
// choice of picker. Channels are integers meant to lie in 0…255; the arithmetic does not clamp
// them, so a slider range wider than that shows up in the hex text as it would on the device.
#pragma once

#include "rules/ColorText.h"

#include <string>

// A float or double truncated toward zero into 32 bits, saturating at the ends and giving 0
// for NaN (what the device's conversion instruction does; a plain cast would be undefined).
int truncateToInt(double v);

// The channels a slider triple stands for: each value truncated toward zero.
ColorChannels channelsFromSliderValues(float r, float g, float b);

// The saved form of a color: "#" and the channels as two upper-case hex digits each.
std::string hexTextForChannels(ColorChannels c);

// YES when the sample's text must be white: the color composited over white at opacity a, then
// the shared black-or-white rule.
bool useWhiteFont(int r, int g, int b, float a);

// Which of the three pickers the cell makes (each one's layout is a PickerLayout of the picker).
enum class PickerType { Hue, Saturation, Brightness };

// "colorPickerType" 2 is the brightness-slider picker, 1 the saturation-slider picker, and any
// other value the hue-slider picker.
PickerType pickerTypeFor(int colorPickerType);
const char* pickerClassName(PickerType type);

// ASCII upper case, as the cell shows stored text (hex digits are ASCII).
std::string upperCased(std::string text);
