#include "picker/GradientLayers.h"

#include <initializer_list>

namespace {
GradientStop rgba(double r, double g, double b, double a) {
    return {false, r, g, b, a};
}
GradientStop hsba(double h, double s, double b, double a) {
    return {true, h, s, b, a};
}

const GradientStop kRed = rgba(1, 0, 0, 1);
const GradientStop kYellow = rgba(1, 1, 0, 1);
const GradientStop kGreen = rgba(0, 1, 0, 1);
const GradientStop kCyan = rgba(0, 1, 1, 1);
const GradientStop kBlue = rgba(0, 0, 1, 1);
const GradientStop kMagenta = rgba(1, 0, 1, 1);

void add(GradientLayers& out, std::initializer_list<GradientStop> stops, CGPoint start, CGPoint end) {
    GradientLayer& layer = out.layers[out.count++];
    for (const GradientStop& s : stops)
        layer.stops[layer.stopCount++] = s;
    layer.start = start;
    layer.end = end;
}

// The hue wheel drawn from the right edge to the left, so that it reads red, yellow, green, ...
// from left to right, like the hue bar.
void addReversedHueRamp(GradientLayers& out, double w) {
    add(out, {kRed, kMagenta, kBlue, kCyan, kGreen, kYellow, kRed}, {w, 0}, {0, 0});
}
} // namespace

GradientLayers gradientLayers(GradientViewKind kind, const HsbComponents& hsb, double w, double h) {
    GradientLayers out;
    const CGPoint top{0, 0};
    const CGPoint bottom{0, h};
    const CGPoint left{0, 0};
    const CGPoint right{w, 0};
    switch (kind) {
    case GradientViewKind::HueSaturation:
        addReversedHueRamp(out, w);
        add(out, {rgba(0, 0, 0, 0), rgba(1, 1, 1, 1)}, top, bottom);
        add(out, {rgba(0, 0, 0, 1 - hsb.brightness), rgba(0, 0, 0, 1 - hsb.brightness)}, top, bottom);
        break;
    case GradientViewKind::BrightnessSlider:
        add(out, {hsba(hsb.hue, hsb.saturation, 1, 1), hsba(0, 0, 0, 1)}, left, right);
        break;
    case GradientViewKind::BrightnessSaturation:
        add(out, {hsba(hsb.hue, 1, 1, 1), rgba(1, 1, 1, 1)}, right, left);
        add(out, {rgba(0, 0, 0, 0), rgba(0, 0, 0, 1)}, top, bottom);
        break;
    case GradientViewKind::HueSlider:
        add(out, {kRed, kYellow, kGreen, kCyan, kBlue, kMagenta, kRed}, left, right);
        break;
    case GradientViewKind::HueBrightness:
        addReversedHueRamp(out, w);
        add(out, {rgba(0, 0, 0, 0), rgba(0, 0, 0, 1)}, top, bottom);
        add(out, {rgba(1, 1, 1, 1 - hsb.saturation), rgba(0, 0, 0, 1 - hsb.saturation)}, top, bottom);
        break;
    case GradientViewKind::SaturationSlider:
        add(out, {hsba(hsb.hue, 1, hsb.brightness, 1), hsba(0, 0, hsb.brightness, 1)}, left, right);
        break;
    }
    return out;
}
