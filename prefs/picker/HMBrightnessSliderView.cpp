#include "picker/HMBrightnessSliderView.h"

void HMBrightnessSliderView::drawRect(CGRect) {
    drawLayers(hm::GradientViewKind::BrightnessSlider);
}

namespace {
using hm::GradientProperty;
const ClassDef<HMBrightnessSliderView> kHMBrightnessSliderView(
    "HMBrightnessSliderView", "UIView",
    hm::gradientViewEntries({GradientProperty::Hue, GradientProperty::Saturation},
                            {method("setHue:andSaturation:", &HMGradientView::setHueAndSaturation),
                             method("drawRect:", &HMBrightnessSliderView::drawRect)}));
} // namespace
