#include "picker/HMGradientView.h"

#include "coregraphics/CoreGraphics.h"

#include <vector>

namespace {

// A stop's color as the drawing layer takes it; HSB stops go through UIColor's conversion.
CGColor stopColor(const GradientStop& stop) {
    if (!stop.isHsb)
        return CGColorMake(stop.c1, stop.c2, stop.c3, stop.alpha);
    static Class* const uiColor = objc_getClass("UIColor");
    id color = msg<id>(classObject(uiColor), SELECTOR("colorWithHue:saturation:brightness:alpha:"), stop.c1,
                       stop.c2, stop.c3, stop.alpha);
    return msg<CGColor>(color, SELECTOR("CGColor"));
}

} // namespace

void HMGradientView::drawLayers(GradientViewKind kind) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return; // drawn outside a drawing pass: nothing to paint into
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGSize size = msg<CGRect>(this, SELECTOR("frame")).size;

    CGContextSaveGState(context);
    CGContextClipToRect(context, CGRectMake(0, 0, size.width, size.height));
    const GradientLayers layers =
        gradientLayers(kind, {hue_, saturation_, brightness_}, size.width, size.height);
    std::vector<CGColor> colors;
    for (std::size_t i = 0; i < layers.count; ++i) {
        const GradientLayer& layer = layers.layers[i];
        colors.clear();
        for (std::size_t s = 0; s < layer.stopCount; ++s)
            colors.push_back(stopColor(layer.stops[s]));
        CGGradientRef gradient = CGGradientCreateWithColors(space, colors, nullptr);
        CGContextDrawLinearGradient(context, gradient, layer.start, layer.end, 0);
        CGGradientRelease(gradient);
    }
    CGColorSpaceRelease(space);
    CGContextRestoreGState(context);
}

namespace {
void requestRedraw(HMGradientView* view) {
    msg(view, SELECTOR("setNeedsDisplay"));
}
} // namespace

void HMGradientView::setHueAndSaturationAndBrightness(double hue, double saturation, double brightness) {
    hue_ = hue;
    saturation_ = saturation;
    brightness_ = brightness;
    requestRedraw(this);
}

void HMGradientView::setHueAndSaturation(double hue, double saturation) {
    hue_ = hue;
    saturation_ = saturation;
    requestRedraw(this);
}

void HMGradientView::setHueAndBrightness(double hue, double brightness) {
    hue_ = hue;
    brightness_ = brightness;
    requestRedraw(this);
}

void HMGradientView::setHueAndRedraw(double hue) {
    hue_ = hue;
    requestRedraw(this);
}

std::vector<objc::Entry> gradientViewEntries(std::initializer_list<GradientProperty> properties,
                                             std::vector<objc::Entry> methods) {
    std::vector<objc::Entry> entries;
    for (GradientProperty p : properties) {
        switch (p) {
        case GradientProperty::Hue:
            entries.push_back(method("hue", &HMGradientView::hue));
            entries.push_back(method("setHue:", &HMGradientView::setHue));
            entries.push_back(ivar("_hue", &HMGradientView::hue_));
            break;
        case GradientProperty::Saturation:
            entries.push_back(method("saturation", &HMGradientView::saturation));
            entries.push_back(method("setSaturation:", &HMGradientView::setSaturation));
            entries.push_back(ivar("_saturation", &HMGradientView::saturation_));
            break;
        case GradientProperty::Brightness:
            entries.push_back(method("brightness", &HMGradientView::brightness));
            entries.push_back(method("setBrightness:", &HMGradientView::setBrightness));
            entries.push_back(ivar("_brightness", &HMGradientView::brightness_));
            break;
        }
    }
    for (objc::Entry& m : methods) {
        std::erase_if(entries, [&](const objc::Entry& e) { return e.kind == m.kind && e.name == m.name; });
        entries.push_back(std::move(m));
    }
    return entries;
}
