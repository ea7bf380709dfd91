#include "picker/HMHueBrightnessView.h"

void HMHueBrightnessView::drawRect(CGRect) {
    drawLayers(GradientViewKind::HueBrightness);
}

namespace {
const ClassDef<HMHueBrightnessView> kHMHueBrightnessView(
    "HMHueBrightnessView", "UIView",
    gradientViewEntries({GradientProperty::Hue, GradientProperty::Saturation, GradientProperty::Brightness},
                        {method("setHue:andSaturation:andBrightness:",
                                &HMGradientView::setHueAndSaturationAndBrightness),
                         method("drawRect:", &HMHueBrightnessView::drawRect)}));
} // namespace
