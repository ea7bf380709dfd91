#include "core/ButtonColor.h"

#include "foundation/NSScanner.h"
#include "rules/ColorText.h"

ButtonColors parseButtonColor(std::string_view text) {
    ButtonColors colors;
    colors.value = colorValueOfText(text, NSScannerScanHexInt);
    const ColorChannels c = channelsOfValue(colors.value);
    colors.titleIsBlack = takesBlackText(c);
    colors.buttonIsClear = colors.value == kWhiteColorValue;
    if (!colors.buttonIsClear)
        colors.buttonColor = {c.r / 255.0, c.g / 255.0, c.b / 255.0, 1.0};
    return colors;
}
