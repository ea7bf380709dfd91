// What tells the three picker layouts apart, as data. Everything else (frames, constants,
// touch rules, callbacks, typed entry) is shared and lives in one implementation; each
// picker class is that implementation plus one of the descriptions below.
#pragma once

#include "picker/HsbComponents.h"

#include <array>
#include <cstddef>

// A value label's text: prefix, the component rounded (hue in degrees, the others in
// percent), suffix. "Saturation: " 42 "%" reads "Saturation: 42%".
struct ComponentText {
    HsbComponent component;
    const char* prefix;
    const char* suffix;
};

// A message to a gradient view carrying some of the current components, in order
// (`setHue:andSaturation:` with hue and saturation). No selector: nothing is sent.
struct ViewUpdate {
    const char* selector = nullptr;
    std::array<HsbComponent, 3> arguments{};
    std::size_t count = 0;
};

struct PickerLayout {
    const char* className;

    // The square: its class, the instance variables of the view and its touch-eater, and the
    // components it spans (across grows left to right, down grows bottom to top).
    const char* squareClass;
    const char* squareIvar;
    const char* squareTouchEaterIvar;
    HsbComponent across;
    HsbComponent down;

    // The two value labels above the square. Each label's entry button prompts for the
    // component the label shows (askActionFor).
    const char* topLeftLabelIvar;
    ComponentText topLeftText;
    const char* topRightLabelIvar;
    ComponentText topRightText;

    // The slider bar: class, instance variables, the component it carries and whether that
    // component falls from left to right (1 at the left end, 0 at the right end).
    const char* barClass;
    const char* barIvar;
    const char* barTouchEaterIvar;
    HsbComponent slider;
    bool sliderFallsToTheRight;
    const char* sliderTitle;
    const char* sliderValueLabelIvar;
    ComponentText sliderValueText; // its entry button, too, prompts for what it shows
    const char* markerIvar;

    // Operation names: touch mapping, the two refreshes and the marker placement.
    const char* squareTouchOperation;
    const char* barTouchOperation;
    const char* squareRefreshOperation;
    const char* sliderRefreshOperation;
    const char* markerPlacementOperation;

    // What the square refresh sends to the bar, and the slider refresh to the square.
    ViewUpdate squareRefreshBarUpdate;
    ViewUpdate sliderRefreshSquareUpdate;
};

extern const PickerLayout kPickerLayoutB;
extern const PickerLayout kPickerLayoutH;
extern const PickerLayout kPickerLayoutS;

// The operation names every layout shares.
inline constexpr const char* kCrosshairPlacementOperation = "_updateCrosshairPosition";
inline constexpr const char* kAskForHue = "askUserForHue";
inline constexpr const char* kAskForSaturation = "askUserForSaturation";
inline constexpr const char* kAskForBrightness = "askUserForBrightness";

// The prompt action that asks for a component.
const char* askActionFor(HsbComponent component);
