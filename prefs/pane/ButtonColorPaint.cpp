#include "pane/ButtonColorPaint.h"

ButtonColorPaint buttonColorPaint(uint32_t scanned) {
    const uint32_t v = scanned > 0xFFFFFFu ? 0xFFFFFFu : scanned;
    const unsigned r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
    // BT.709 luma; the text turns white at exactly half darkness.
    const double luma = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    ButtonColorPaint paint;
    paint.red = r / 255.0;
    paint.green = g / 255.0;
    paint.blue = b / 255.0;
    paint.blackText = 1.0 - luma / 255.0 < 0.5;
    return paint;
}
