#include "picker/HMSaturationSliderView.h"

void HMSaturationSliderView::drawRect(CGRect) {
    drawLayers(GradientViewKind::SaturationSlider);
}

namespace {
const ClassDef<HMSaturationSliderView> kHMSaturationSliderView(
    "HMSaturationSliderView", "UIView",
    gradientViewEntries({GradientProperty::Hue, GradientProperty::Brightness},
                        {method("setHue:andBrightness:", &HMGradientView::setHueAndBrightness),
                         method("drawRect:", &HMSaturationSliderView::drawRect)}));
} // namespace
