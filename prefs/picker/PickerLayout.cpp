#include "picker/PickerLayout.h"

namespace {
constexpr auto H = HsbComponent::Hue;
constexpr auto S = HsbComponent::Saturation;
constexpr auto B = HsbComponent::Brightness;
} // namespace

constinit const PickerLayout kPickerLayoutB = {
    .className = "HMColorPickerView_B",
    .squareClass = "HMHueSaturationView",
    .squareIvar = "_hueSaturationView",
    .squareTouchEaterIvar = "_touchEaterHueSaturation",
    .across = H,
    .down = S,
    .topLeftLabelIvar = "_currentSaturationLabel",
    .topLeftText = {S, "Saturation: ", "%"},
    .topRightLabelIvar = "_currentHueLabel",
    .topRightText = {H, "", "° : Hue"},
    .barClass = "HMBrightnessSliderView",
    .barIvar = "_brightnessGradientView",
    .barTouchEaterIvar = "_touchEaterBrightness",
    .slider = B,
    .sliderFallsToTheRight = true,
    .sliderTitle = "Brightness:",
    .sliderValueLabelIvar = "_currentBrightnessLabel",
    .sliderValueText = {B, "", "%"},
    .markerIvar = "_brightnessSelector",
    .squareTouchOperation = "_updateHueSaturationWithTouch:",
    .barTouchOperation = "_updateBrightnessWithTouch:",
    .squareRefreshOperation = "_updateHueSaturationSelector",
    .sliderRefreshOperation = "_updateBrightnessSelector",
    .markerPlacementOperation = "_updateBrightnessSelectorPosition",
    .squareRefreshBarUpdate = {"setHue:andSaturation:", {H, S}, 2},
    .sliderRefreshSquareUpdate = {"setHue:andSaturation:andBrightness:", {H, S, B}, 3},
};

constinit const PickerLayout kPickerLayoutH = {
    .className = "HMColorPickerView_H",
    .squareClass = "HMBrightnessSaturationView",
    .squareIvar = "_brightnessSaturationView",
    .squareTouchEaterIvar = "_touchEaterBrightnessSaturation",
    .across = S,
    .down = B,
    .topLeftLabelIvar = "_currentBrightnessLabel",
    .topLeftText = {B, "Brightness: ", "%"},
    .topRightLabelIvar = "_currentSaturationLabel",
    .topRightText = {S, "", "% :Saturation"},
    .barClass = "HMHueSliderView",
    .barIvar = "_hueGradientView",
    .barTouchEaterIvar = "_touchEaterHueSaturation",
    .slider = H,
    .sliderFallsToTheRight = false,
    .sliderTitle = "Hue:",
    .sliderValueLabelIvar = "_currentHueLabel",
    .sliderValueText = {H, "", "°"},
    .markerIvar = "_hueSelector",
    .squareTouchOperation = "_updateBrightnessSaturationWithTouch:",
    .barTouchOperation = "_updateHueWithTouch:",
    .squareRefreshOperation = "_updateBrigntessSaturationSelector",
    .sliderRefreshOperation = "_updateHueSelector",
    .markerPlacementOperation = "_updateHueSelectorPosition",
    .squareRefreshBarUpdate = {},
    .sliderRefreshSquareUpdate = {"setHue:", {H}, 1},
};

constinit const PickerLayout kPickerLayoutS = {
    .className = "HMColorPickerView_S",
    .squareClass = "HMHueBrightnessView",
    .squareIvar = "_hueBrightnessView",
    .squareTouchEaterIvar = "_touchEaterHueBrightness",
    .across = H,
    .down = B,
    .topLeftLabelIvar = "_currentBrightnessLabel",
    .topLeftText = {B, "Brightness: ", "%"},
    .topRightLabelIvar = "_currentHueLabel",
    .topRightText = {H, "", "° : Hue"},
    .barClass = "HMSaturationSliderView",
    .barIvar = "_saturationGradientView",
    .barTouchEaterIvar = "_touchEaterSaturation",
    .slider = S,
    .sliderFallsToTheRight = true,
    .sliderTitle = "Saturation:",
    .sliderValueLabelIvar = "_currentSaturationLabel",
    .sliderValueText = {S, "", "%"},
    .markerIvar = "_saturationSelector",
    .squareTouchOperation = "_updateHueBrightnessWithTouch:",
    .barTouchOperation = "_updateSaturationWithTouch:",
    .squareRefreshOperation = "_updateHueBrigntesSelector",
    .sliderRefreshOperation = "_updateSaturationSelector",
    .markerPlacementOperation = "_updateSaturationSelectorPosition",
    .squareRefreshBarUpdate = {"setHue:andBrightness:", {H, B}, 2},
    .sliderRefreshSquareUpdate = {"setHue:andSaturation:andBrightness:", {H, S, B}, 3},
};

const char* askActionFor(HsbComponent component) {
    switch (component) {
    case HsbComponent::Hue:
        return kAskForHue;
    case HsbComponent::Saturation:
        return kAskForSaturation;
    case HsbComponent::Brightness:
        return kAskForBrightness;
    }
    return kAskForHue;
}
