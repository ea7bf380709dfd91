// The alert button's colors, derived from the "buttonColor" text of the settings file.
#pragma once

#include "core/RgbaColor.h"
#include "rules/ColorText.h"

#include <cstdint>
#include <string_view>

struct ButtonColors {
    std::uint32_t value = kWhiteColorValue; // the 24-bit color read from the text
    bool buttonIsClear = true;              // 0xFFFFFF means no background, so white is never a button color
    RgbaColor buttonColor;                  // opaque (R/255, G/255, B/255), or all zero when clear
    bool titleIsBlack = true;               // black title on light colors, white on dark ones
};

// The text read by the shared color-text rule: its 24-bit value, the title black or white by
// the value's luma, and a background that is clear for white (0xFFFFFF) and opaque otherwise.
ButtonColors parseButtonColor(std::string_view text);
