// A color as plain fractions, so the rules that compute colors need no platform object.
#pragma once

struct RgbaColor {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 0.0;

    friend bool operator==(const RgbaColor&, const RgbaColor&) = default;
};
