// The texts a picker shows: value labels and the prompts for typed values, and what a typed
// value does. Hue reads in degrees (a full turn is 360), saturation and brightness in percent.
#pragma once

#include "picker/HsbComponents.h"
#include "picker/PickerLayout.h"

#include <cstdint>
#include <optional>
#include <string>

// v rounded to the nearest whole number, halves away from zero (12.5 gives 13, -12.5 gives
// -13), as a 32-bit signed integer: saturates at the ends of that range, and NaN gives 0.
std::int32_t roundHalfAway(double v);

// The whole number a component shows as: round(hue × 360) or round(fraction × 100).
std::int32_t displayedValue(HsbComponent component, double value);
// The full turn or the hundred a typed number is divided by.
double entryScale(HsbComponent component);

std::string componentText(const ComponentText& text, const HsbComponents& hsb);

// One numeric-entry prompt: the tag that tells it apart and its message for the current value.
struct EntryPrompt {
    HsbComponent component;
    long tag;
};
EntryPrompt entryPromptFor(HsbComponent component);
std::string entryMessage(HsbComponent component, const HsbComponents& hsb);

// The component a prompt with this tag asks for; none for a tag of no picker prompt.
std::optional<HsbComponent> entryComponentForTag(long tag);

// What OK on a prompt does to the components: the typed number divided by the component's
// scale, as typed (no clamping: the color made from it decides what it reads back as).
// Nothing changes for another button or a tag of no picker prompt.
bool applyTypedEntry(HsbComponents& hsb, long tag, long buttonIndex, float typed);

inline constexpr long kOkButtonIndex = 1;
