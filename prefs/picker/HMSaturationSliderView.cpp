#include "picker/HMSaturationSliderView.h"

void HMSaturationSliderView::drawRect(CGRect) {
    drawLayers(hm::GradientViewKind::SaturationSlider);
}

namespace {
using hm::GradientProperty;
const ClassDef<HMSaturationSliderView> kHMSaturationSliderView(
    "HMSaturationSliderView", "UIView",
    hm::gradientViewEntries({GradientProperty::Hue, GradientProperty::Brightness},
                            {method("setHue:andBrightness:", &HMGradientView::setHueAndBrightness),
                             method("drawRect:", &HMSaturationSliderView::drawRect)}));
} // namespace
