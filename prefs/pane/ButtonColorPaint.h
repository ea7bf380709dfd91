// How the "Button Color" row is painted for a stored color: the row's background is the color
// (white included, opaque), its text black or white by the color's luma. Pure.
#pragma once

#include <cstdint>

struct ButtonColorPaint {
    double red = 1, green = 1, blue = 1; // fractions of 255
    bool blackText = true;
};

// `scanned` is the hexadecimal scan of the stored text, 0xFFFFFF when it held no digit; any
// value above 24 bits paints as 0xFFFFFF.
ButtonColorPaint buttonColorPaint(uint32_t scanned);
