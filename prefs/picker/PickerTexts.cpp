#include "picker/PickerTexts.h"

#include <cmath>
#include <limits>

namespace {
constexpr long kHueTag = 3026;
constexpr long kBrightnessTag = 3027;
constexpr long kSaturationTag = 3028;
} // namespace

std::int32_t roundHalfAway(double v) {
    if (std::isnan(v))
        return 0;
    const double r = std::round(v); // std::round rounds halves away from zero
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

double entryScale(HsbComponent component) {
    return component == HsbComponent::Hue ? 360.0 : 100.0;
}

std::int32_t displayedValue(HsbComponent component, double value) {
    return roundHalfAway(value * entryScale(component));
}

std::string componentText(const ComponentText& text, const HsbComponents& hsb) {
    return text.prefix + std::to_string(displayedValue(text.component, hsb[text.component])) + text.suffix;
}

EntryPrompt entryPromptFor(HsbComponent component) {
    switch (component) {
    case HsbComponent::Hue:
        return {component, kHueTag};
    case HsbComponent::Brightness:
        return {component, kBrightnessTag};
    case HsbComponent::Saturation:
        return {component, kSaturationTag};
    }
    return {component, kHueTag};
}

std::string entryMessage(HsbComponent component, const HsbComponents& hsb) {
    const std::string shown = std::to_string(displayedValue(component, hsb[component]));
    switch (component) {
    case HsbComponent::Hue:
        return "Please enter a Hue value between 0° and 360°\n current value is: " + shown + "°";
    case HsbComponent::Brightness:
        return "Please enter a Brightness value between 0% and 100%\n current value is: " + shown + "%";
    case HsbComponent::Saturation:
        return "Please enter a Saturation value between 0% and 100%\n current value is: " + shown + "%";
    }
    return {};
}

std::optional<HsbComponent> entryComponentForTag(long tag) {
    switch (tag) {
    case kHueTag:
        return HsbComponent::Hue;
    case kBrightnessTag:
        return HsbComponent::Brightness;
    case kSaturationTag:
        return HsbComponent::Saturation;
    default:
        return std::nullopt;
    }
}

bool applyTypedEntry(HsbComponents& hsb, long tag, long buttonIndex, float typed) {
    if (buttonIndex != kOkButtonIndex)
        return false;
    const auto component = entryComponentForTag(tag);
    if (!component)
        return false;
    hsb[*component] = typed / entryScale(*component);
    return true;
}
