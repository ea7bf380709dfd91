#include "picker/HMHueSaturationView.h"

void HMHueSaturationView::drawRect(CGRect) {
    drawLayers(GradientViewKind::HueSaturation);
}

namespace {
const ClassDef<HMHueSaturationView> kHMHueSaturationView(
    "HMHueSaturationView", "UIView",
    gradientViewEntries({GradientProperty::Hue, GradientProperty::Saturation, GradientProperty::Brightness},
                        {method("setHue:andSaturation:andBrightness:",
                                &HMGradientView::setHueAndSaturationAndBrightness),
                         method("drawRect:", &HMHueSaturationView::drawRect)}));
} // namespace
