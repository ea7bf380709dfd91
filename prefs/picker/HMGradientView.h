// What the six gradient views share: the three components they may keep, plain accessors that
// only store, and the drawing scheme that paints a view's layers (GradientLayers) into the
// current graphics context. Each view class registers only the properties it declares.
#pragma once

#include "objc/runtime.h"
#include "picker/GradientLayers.h"
#include "uikit/UIView.h"

#include <vector>

struct HMGradientView : UIView {
    double hue_ = 0;
    double saturation_ = 0;
    double brightness_ = 0;

    double hue() const { return hue_; }
    void setHue(double hue) { hue_ = hue; }
    double saturation() const { return saturation_; }
    void setSaturation(double saturation) { saturation_ = saturation; }
    double brightness() const { return brightness_; }
    void setBrightness(double brightness) { brightness_ = brightness; }

    // The redraw-triggering setters: store the values unchanged, then ask for a redraw. Each
    // view class registers the one its picture needs.
    void setHueAndSaturationAndBrightness(double hue, double saturation, double brightness);
    void setHueAndSaturation(double hue, double saturation);
    void setHueAndBrightness(double hue, double brightness);
    void setHueAndRedraw(double hue);

    // Paints the layers of a view of this kind for the stored components at the size of the
    // view's frame (its origin plays no part), clipped to (0, 0, W, H).
    void drawLayers(GradientViewKind kind);
};

// The runtime entries of a view class: each listed property `name` backed by the instance
// variable "_name" with a plain getter and a setter that only stores, then the class's own
// methods (which may replace a plain setter, as the hue setter of one square does).
enum class GradientProperty { Hue, Saturation, Brightness };
std::vector<objc::Entry> gradientViewEntries(std::initializer_list<GradientProperty> properties,
                                             std::vector<objc::Entry> methods);
