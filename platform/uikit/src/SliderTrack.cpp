#include "uikit/SliderTrack.h"

#include <algorithm>

namespace {
// The stretch the thumb's center can travel: the width less half a thumb at each end.
double travel(double width) {
    return std::max(0.0, width - kSliderThumbDiameter);
}
} // namespace

float clampSliderValue(float value, float minimum, float maximum) {
    if (value > maximum)
        value = maximum;
    if (value < minimum)
        value = minimum;
    return value;
}

double sliderThumbCenter(float value, float minimum, float maximum, double width) {
    const double start = std::min(width, kSliderThumbDiameter) / 2;
    if (maximum <= minimum)
        return start;
    const double fraction = (double(value) - minimum) / (double(maximum) - minimum);
    return start + std::clamp(fraction, 0.0, 1.0) * travel(width);
}

float sliderValueAt(double x, float minimum, float maximum, double width) {
    if (maximum <= minimum || travel(width) <= 0)
        return clampSliderValue(minimum, minimum, maximum);
    const double fraction = std::clamp((x - kSliderThumbDiameter / 2) / travel(width), 0.0, 1.0);
    return clampSliderValue(float(minimum + fraction * (double(maximum) - minimum)), minimum, maximum);
}
