#include "core/Highlight.h"

#include <algorithm>

namespace {
constexpr double kDarkBelow = 0.4;
constexpr double kStep = 0.2;
} // namespace

std::optional<RgbaColor> highlightColor(bool backgroundIsClear, std::optional<RgbaColor> background) {
    if (backgroundIsClear)
        return kClearHighlight;
    if (!background)
        return std::nullopt;
    RgbaColor c = *background;
    if (c.red < kDarkBelow && c.green < kDarkBelow && c.blue < kDarkBelow) {
        c.red = std::min(c.red + kStep, 1.0);
        c.green = std::min(c.green + kStep, 1.0);
        c.blue = std::min(c.blue + kStep, 1.0);
    } else {
        c.red = std::max(c.red - kStep, 0.0);
        c.green = std::max(c.green - kStep, 0.0);
        c.blue = std::max(c.blue - kStep, 0.0);
    }
    return c;
}
