#include "picker/HMHueSaturationView.h"

void HMHueSaturationView::drawRect(CGRect) {
    drawLayers(hm::GradientViewKind::HueSaturation);
}

namespace {
using hm::GradientProperty;
const ClassDef<HMHueSaturationView>
    kHMHueSaturationView("HMHueSaturationView", "UIView",
                         hm::gradientViewEntries({GradientProperty::Hue, GradientProperty::Saturation,
                                                  GradientProperty::Brightness},
                                                 {method("setHue:andSaturation:andBrightness:",
                                                         &HMGradientView::setHueAndSaturationAndBrightness),
                                                  method("drawRect:", &HMHueSaturationView::drawRect)}));
} // namespace
