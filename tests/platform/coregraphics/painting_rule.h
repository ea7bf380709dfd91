// The painting rule written out plainly, to check the renderer against: a layer's color at a
// point is the straight interpolation of evenly spaced stops at the point's position along the
// line, composited source-over onto what is there. Values are exact (doubles on the 0-255
// scale); the renderer must store each channel within half a level of them, plus a sliver for
// its fixed-point arithmetic.
#pragma once

#include "coregraphics/CoreGraphics.h"

#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace rule {

// Half a level, and the fixed-point sliver the renderer is allowed around a rounding tie.
inline constexpr double kTolerance = 0.5 + 1.0 / 128 + 1e-9;

struct Layer {
    std::vector<CGColor> stops;
    CGPoint start, end;
};

inline CGColor colorAt(const std::vector<CGColor>& stops, double s) {
    const double place = s * double(stops.size() - 1);
    int k = int(std::floor(place));
    if (k > int(stops.size()) - 2)
        k = int(stops.size()) - 2;
    if (k < 0)
        k = 0;
    const double t = place - k;
    const CGColor& a = stops[size_t(k)];
    const CGColor& b = stops[size_t(k) + 1];
    return {a.r * (1 - t) + b.r * t, a.g * (1 - t) + b.g * t, a.b * (1 - t) + b.b * t,
            a.a * (1 - t) + b.a * t};
}

using Pixel = std::array<double, 4>; // exact channel values on the 0-255 scale

inline Pixel exact(const uint8_t bytes[4]) {
    return {double(bytes[0]), double(bytes[1]), double(bytes[2]), double(bytes[3])};
}

// Source-over of a straight color onto a pixel, as exact values on the 0-255 scale.
inline Pixel over(const CGColor& c, const Pixel& below) {
    const double ua = below[3] / 255.0;
    const double outA = c.a + ua * (1 - c.a);
    if (outA == 0)
        return Pixel{0, 0, 0, 0};
    const double layer[3] = {c.r, c.g, c.b};
    Pixel out{};
    for (size_t ch = 0; ch < 3; ++ch)
        out[ch] = 255 * (layer[ch] * c.a + below[ch] / 255.0 * ua * (1 - c.a)) / outA;
    out[3] = 255 * outA;
    return out;
}

// What the layer makes of a pixel whose center is at user point (x, y); none where it paints
// nothing (beyond either end point).
inline std::optional<Pixel> paint(const Layer& layer, double x, double y, const Pixel& below) {
    const double dx = layer.end.x - layer.start.x, dy = layer.end.y - layer.start.y;
    const double s = ((x - layer.start.x) * dx + (y - layer.start.y) * dy) / (dx * dx + dy * dy);
    if (s < 0 || s > 1)
        return std::nullopt;
    return over(colorAt(layer.stops, s), below);
}

} // namespace rule
