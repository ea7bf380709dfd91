#include "picker/HMBrightnessSliderView.h"

void HMBrightnessSliderView::drawRect(CGRect) {
    drawLayers(GradientViewKind::BrightnessSlider);
}

namespace {
const ClassDef<HMBrightnessSliderView> kHMBrightnessSliderView(
    "HMBrightnessSliderView", "UIView",
    gradientViewEntries({GradientProperty::Hue, GradientProperty::Saturation},
                        {method("setHue:andSaturation:", &HMGradientView::setHueAndSaturation),
                         method("drawRect:", &HMBrightnessSliderView::drawRect)}));
} // namespace
