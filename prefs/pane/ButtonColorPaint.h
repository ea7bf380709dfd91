// How the "Button Color" row is painted for the stored color text: the row's background is the
// color by the shared color-text rule (white included, opaque: unlike the alert button, the row
// never turns clear), its text black or white by the color's luma. Pure.
#pragma once

#include <optional>
#include <string_view>

struct ButtonColorPaint {
    double red = 1, green = 1, blue = 1; // fractions of 255
    bool blackText = true;
};

// `stored`: the settings' "buttonColor" text, none when the entry is absent or holds no text
// (the row then paints white with black text, as for a text without a digit).
ButtonColorPaint buttonColorPaint(std::optional<std::string_view> stored);
