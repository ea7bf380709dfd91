#include "picker/HMHueSliderView.h"

void HMHueSliderView::drawRect(CGRect) {
    drawLayers(GradientViewKind::HueSlider);
}

namespace {
const ClassDef<HMHueSliderView>
    kHMHueSliderView("HMHueSliderView", "UIView",
                     gradientViewEntries({}, {method("drawRect:", &HMHueSliderView::drawRect)}));
} // namespace
