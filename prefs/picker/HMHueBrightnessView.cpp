#include "picker/HMHueBrightnessView.h"

void HMHueBrightnessView::drawRect(CGRect) {
    drawLayers(hm::GradientViewKind::HueBrightness);
}

namespace {
using hm::GradientProperty;
const ClassDef<HMHueBrightnessView>
    kHMHueBrightnessView("HMHueBrightnessView", "UIView",
                         hm::gradientViewEntries({GradientProperty::Hue, GradientProperty::Saturation,
                                                  GradientProperty::Brightness},
                                                 {method("setHue:andSaturation:andBrightness:",
                                                         &HMGradientView::setHueAndSaturationAndBrightness),
                                                  method("drawRect:", &HMHueBrightnessView::drawRect)}));
} // namespace
