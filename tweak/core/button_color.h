// The alert button's colors, derived from the "buttonColor" text of the settings file.
#pragma once

#include "core/rgba_color.h"

#include <cstdint>
#include <string_view>

struct ButtonColors {
    std::uint32_t value = 0xFFFFFF; // the 24-bit color read from the text
    bool buttonIsClear = true;      // 0xFFFFFF means no background, so white is never a button color
    RgbaColor buttonColor;          // opaque (R/255, G/255, B/255), or all zero when clear
    bool titleIsBlack = true;       // black title on light colors, white on dark ones
};

// The text's 24-bit value: leading "#" characters skipped, an optional "0x", the longest run of
// hexadecimal digits; a text without digits, and any value above 0xFFFFFF, read as 0xFFFFFF.
std::uint32_t buttonColorValue(std::string_view text);

ButtonColors parseButtonColor(std::string_view text);
