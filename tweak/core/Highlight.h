// The alert button's touch feedback: a dark background lightens, any other darkens.
#pragma once

#include "core/RgbaColor.h"

#include <optional>

inline constexpr RgbaColor kClearHighlight{0.0, 0.0, 0.0, 0.075}; // black at 7.5 % over a clear button

// The background while the button is held. `background` is none when the color cannot be read
// as RGB; the result is none when the background stays as it is.
std::optional<RgbaColor> highlightColor(bool backgroundIsClear, std::optional<RgbaColor> background);
