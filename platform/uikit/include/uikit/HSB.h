// The hexcone HSB color model: hue, saturation and brightness as fractions, hue a fraction of
// a full turn (0 and 1 are both red), brightness the largest of red, green and blue.
//
// Components outside [0, 1] (a typed entry can produce them) are brought in first: hue wraps
// by whole turns (1.25 is 0.25, -0.25 is 0.75), everything else clamps; NaN counts as 0. So
// both conversions always yield components in [0, 1].
#pragma once

struct RGBComponents {
    double r = 0, g = 0, b = 0;
};
struct HSBComponents {
    double h = 0, s = 0, b = 0;
};

// The hue brought into [0, 1) by whole turns.
double wrapHue(double hue);
// The value clamped into [0, 1].
double clampUnit(double value);

RGBComponents HSBtoRGB(double hue, double saturation, double brightness);
// Hue in [0, 1): 0 for grays; ties for the largest component resolve red, then green, then blue.
HSBComponents RGBtoHSB(double red, double green, double blue);
