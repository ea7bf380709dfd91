#include "core/button_color.h"

#include "foundation/NSScanner.h"

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFF;
} // namespace

std::uint32_t buttonColorValue(std::string_view text) {
    unsigned value = kWhite; // kept when the text holds no hexadecimal digit
    NSScannerScanHexInt(text, "#", &value);
    return value > kWhite ? kWhite : value;
}

ButtonColors parseButtonColor(std::string_view text) {
    ButtonColors colors;
    colors.value = buttonColorValue(text);
    const unsigned red = (colors.value >> 16) & 0xFF;
    const unsigned green = (colors.value >> 8) & 0xFF;
    const unsigned blue = colors.value & 0xFF;

    const double luma = 0.2126 * red + 0.7152 * green + 0.0722 * blue;
    colors.titleIsBlack = 1.0 - luma / 255.0 < 0.5;

    colors.buttonIsClear = colors.value == kWhite;
    if (!colors.buttonIsClear) colors.buttonColor = {red / 255.0, green / 255.0, blue / 255.0, 1.0};
    return colors;
}
