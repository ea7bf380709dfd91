#include "GradientStops.h"

#include <algorithm>
#include <cmath>

CGGradientRef CGGradientCreateWithColors(CGColorSpaceRef, const std::vector<CGColor>& colors,
                                         const CGFloat* locations) {
    if (colors.empty())
        return nullptr;
    auto* gradient = new CGGradient;
    const size_t n = colors.size();
    std::vector<std::pair<CGFloat, CGColor>> stops(n);
    for (size_t i = 0; i < n; ++i) {
        CGFloat at = locations ? locations[i] : (n == 1 ? 0 : CGFloat(i) / CGFloat(n - 1));
        stops[i] = {at, colors[i]};
    }
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (const auto& [at, color] : stops) {
        gradient->locations.push_back(at);
        gradient->colors.push_back(color);
    }
    gradient->opaqueThroughout = std::all_of(stops.begin(), stops.end(), [&](const auto& stop) {
        return std::isfinite(stop.first) && stop.second.a >= 1 && stop.second.a == stops.front().second.a;
    });
    return gradient;
}

void CGGradientRelease(CGGradientRef gradient) {
    delete gradient;
}

CGColor CGGradientColorAt(CGGradientRef gradient, CGFloat s) {
    if (!gradient)
        return {};
    const auto& at = gradient->locations;
    const auto& colors = gradient->colors;
    s = std::isnan(s) ? 0 : std::clamp(s, CGFloat(0), CGFloat(1));
    // Before the first stop and after the last the end colors continue.
    if (s <= at.front())
        return colors.front();
    if (s >= at.back())
        return colors.back();
    size_t hi = size_t(std::upper_bound(at.begin(), at.end(), s) - at.begin());
    size_t lo = hi - 1;
    CGFloat span = at[hi] - at[lo];
    CGFloat t = span > 0 ? (s - at[lo]) / span : 0;
    const CGColor& a = colors[lo];
    const CGColor& b = colors[hi];
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
