#include "picker/HMBrightnessSaturationView.h"

void HMBrightnessSaturationView::drawRect(CGRect) {
    drawLayers(hm::GradientViewKind::BrightnessSaturation);
}

namespace {
using hm::GradientProperty;
const ClassDef<HMBrightnessSaturationView> kHMBrightnessSaturationView(
    "HMBrightnessSaturationView", "UIView",
    hm::gradientViewEntries({GradientProperty::Hue},
                            {method("setHue:", &HMGradientView::setHueAndRedraw),
                             method("drawRect:", &HMBrightnessSaturationView::drawRect)}));
} // namespace
