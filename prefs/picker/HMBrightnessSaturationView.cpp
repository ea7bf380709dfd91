#include "picker/HMBrightnessSaturationView.h"

void HMBrightnessSaturationView::drawRect(CGRect) {
    drawLayers(GradientViewKind::BrightnessSaturation);
}

namespace {
const ClassDef<HMBrightnessSaturationView> kHMBrightnessSaturationView(
    "HMBrightnessSaturationView", "UIView",
    gradientViewEntries({GradientProperty::Hue},
                        {method("setHue:", &HMGradientView::setHueAndRedraw),
                         method("drawRect:", &HMBrightnessSaturationView::drawRect)}));
} // namespace
