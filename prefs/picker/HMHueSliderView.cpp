#include "picker/HMHueSliderView.h"

void HMHueSliderView::drawRect(CGRect) {
    drawLayers(hm::GradientViewKind::HueSlider);
}

namespace {
const ClassDef<HMHueSliderView>
    kHMHueSliderView("HMHueSliderView", "UIView",
                     hm::gradientViewEntries({}, {method("drawRect:", &HMHueSliderView::drawRect)}));
} // namespace
