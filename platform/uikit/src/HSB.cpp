#include "uikit/HSB.h"

#include <algorithm>
#include <cmath>

double wrapHue(double hue) {
    if (!std::isfinite(hue))
        return 0;
    double wrapped = hue - std::floor(hue);
    // A tiny negative hue wraps to 1 - epsilon, which rounds to 1: that is red again.
    return wrapped >= 1 ? 0 : wrapped;
}

double clampUnit(double value) {
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}

RGBComponents HSBtoRGB(double hue, double saturation, double brightness) {
    const double h = wrapHue(hue);
    const double s = clampUnit(saturation);
    const double v = clampUnit(brightness);
    if (s == 0)
        return {v, v, v};
    const double h6 = 6 * h;
    const int sector = std::min(5, int(h6));
    const double f = h6 - sector;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    switch (sector) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

HSBComponents RGBtoHSB(double red, double green, double blue) {
    const double r = clampUnit(red), g = clampUnit(green), b = clampUnit(blue);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    HSBComponents hsb;
    hsb.b = max;
    hsb.s = max == 0 ? 0 : delta / max;
    if (delta == 0)
        return hsb;
    double h;
    if (r == max) {
        h = (g - b) / delta;
    } else if (g == max) {
        h = 2 + (b - r) / delta;
    } else {
        h = 4 + (r - g) / delta;
    }
    h /= 6;
    if (h < 0)
        h += 1;
    hsb.h = h >= 1 ? 0 : h;
    return hsb;
}
