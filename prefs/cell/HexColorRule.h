// Reading a color from hex text, as the color cell does for its stored value and the hex entry.
#pragma once

#include "cell/ColorRules.h"

#include <string>

// The shared color-text rule: leading "#" characters skipped (white space is not), one
// hexadecimal number with an optional "0x"; no digit, or a value above 0xFFFFFF, gives white.
ColorChannels hexColorChannels(const std::string& text);
