// The pictures of the six gradient views as data: for each view, its layers in painting order,
// each a linear gradient with evenly spaced stops from a start point to an end point, in the
// view's own coordinates (origin top-left, y downward). A stop is an RGBA color or an HSB color
// with alpha that the drawing converts.
#pragma once

#include "picker/HsbComponents.h"
#include "picker/PickerGeometry.h"

#include <array>
#include <cstddef>

enum class GradientViewKind {
    HueSaturation,        // square: hue across, saturation down
    BrightnessSlider,     // bar: brightness 1 to 0
    BrightnessSaturation, // square: saturation across, brightness down
    HueSlider,            // bar: hue 0 to 1
    HueBrightness,        // square: hue across, brightness down
    SaturationSlider,     // bar: saturation 1 to 0
};

struct GradientStop {
    bool isHsb = false;
    double c1 = 0, c2 = 0, c3 = 0; // red, green, blue, or hue, saturation, brightness
    double alpha = 1;
};

struct GradientLayer {
    std::array<GradientStop, 7> stops{};
    std::size_t stopCount = 0;
    CGPoint start;
    CGPoint end;
};

struct GradientLayers {
    std::array<GradientLayer, 3> layers{};
    std::size_t count = 0;
};

// The layers a view of this kind paints at width W and height H for its stored components
// (each view reads only the components its picture depends on).
GradientLayers gradientLayers(GradientViewKind kind, const HsbComponents& hsb, double width, double height);
