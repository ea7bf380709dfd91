// Reading a color from hex text, as the color cell does for its stored value and the hex entry.
#pragma once

#include "cell/ColorRules.h"

#include <string>

// Leading "#" characters are skipped (white space is not), then one hexadecimal number is read
// with an optional "0x"; a run too long for 32 bits reads as 0xFFFFFFFF. No digit leaves
// 0xFFFFFF, and anything above 0xFFFFFF becomes 0xFFFFFF: white.
ColorChannels hexColorChannels(const std::string& text);
