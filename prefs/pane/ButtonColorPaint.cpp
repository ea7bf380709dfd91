#include "pane/ButtonColorPaint.h"

#include "foundation/NSScanner.h"
#include "rules/ColorText.h"

ButtonColorPaint buttonColorPaint(std::optional<std::string_view> stored) {
    const ColorChannels c =
        channelsOfValue(stored ? colorValueOfText(*stored, NSScannerScanHexInt) : kWhiteColorValue);
    ButtonColorPaint paint;
    paint.red = c.r / 255.0;
    paint.green = c.g / 255.0;
    paint.blue = c.b / 255.0;
    paint.blackText = takesBlackText(c);
    return paint;
}
