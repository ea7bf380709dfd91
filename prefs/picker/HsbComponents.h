// The three HSB components a picker edits, as plain fractions.
#pragma once

enum class HsbComponent { Hue, Saturation, Brightness };

struct HsbComponents {
    double hue = 0;
    double saturation = 0;
    double brightness = 0;

    double& operator[](HsbComponent c) {
        return c == HsbComponent::Hue ? hue : c == HsbComponent::Saturation ? saturation : brightness;
    }
    double operator[](HsbComponent c) const {
        return c == HsbComponent::Hue ? hue : c == HsbComponent::Saturation ? saturation : brightness;
    }
};
