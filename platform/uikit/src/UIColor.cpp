#include "uikit/UIColor.h"

#include "uikit/HSB.h"

#include <cstdio>
#include <functional>

namespace {

Ref<UIColor> make(CGFloat r, CGFloat g, CGFloat b, CGFloat a, bool gray) {
    auto color = alloc<UIColor>();
    color->red_ = r;
    color->green_ = g;
    color->blue_ = b;
    color->alpha_ = a;
    color->gray_ = gray;
    return color;
}

// Out-parameters may be null, as on the device.
void store(CGFloat value, CGFloat* out) {
    if (out)
        *out = value;
}

id whiteOf(CGFloat w, CGFloat a) {
    return UIColor::white(w, a);
}

const ClassDef<UIColor>
    kUIColor("UIColor", "NSObject",
             {
                 classMethod("colorWithRed:green:blue:alpha:", &UIColor::colorWithRedGreenBlueAlpha),
                 classMethod("colorWithWhite:alpha:", &UIColor::colorWithWhiteAlpha),
                 classMethod("colorWithHue:saturation:brightness:alpha:",
                             &UIColor::colorWithHueSaturationBrightnessAlpha),
                 classMethod("clearColor", [](Object*) -> id { return whiteOf(0, 0); }),
                 classMethod("blackColor", [](Object*) -> id { return whiteOf(0, 1); }),
                 classMethod("whiteColor", [](Object*) -> id { return whiteOf(1, 1); }),
                 classMethod("grayColor", [](Object*) -> id { return whiteOf(0.5, 1); }),
                 classMethod("lightGrayColor", [](Object*) -> id { return whiteOf(2.0 / 3.0, 1); }),
                 classMethod("darkGrayColor", [](Object*) -> id { return whiteOf(1.0 / 3.0, 1); }),
                 classMethod("redColor", [](Object*) -> id { return UIColor::rgba(1, 0, 0, 1); }),
                 classMethod("greenColor", [](Object*) -> id { return UIColor::rgba(0, 1, 0, 1); }),
                 classMethod("blueColor", [](Object*) -> id { return UIColor::rgba(0, 0, 1, 1); }),
                 method("getRed:green:blue:alpha:", &UIColor::getRedGreenBlueAlpha),
                 method("getHue:saturation:brightness:alpha:", &UIColor::getHueSaturationBrightnessAlpha),
                 method("getWhite:alpha:", &UIColor::getWhiteAlpha),
                 method("CGColor", &UIColor::cgColor),
                 method("colorWithAlphaComponent:", &UIColor::colorWithAlphaComponent),
                 method("isEqual:", &UIColor::isEqual),
                 method("hash", &UIColor::hash),
                 method("description", &UIColor::description),
             });

} // namespace

Ref<UIColor> UIColor::rgba(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return make(r, g, b, a, false);
}

Ref<UIColor> UIColor::white(CGFloat w, CGFloat a) {
    return make(w, w, w, a, true);
}

Ref<UIColor> UIColor::hsba(CGFloat h, CGFloat s, CGFloat b, CGFloat a) {
    RGBComponents rgb = HSBtoRGB(h, s, b);
    return rgba(rgb.r, rgb.g, rgb.b, a); // alpha passes through, as colorWithRed:green:blue:alpha: keeps it
}

CGColor UIColor::cgColorOf(const id& color) {
    auto c = cast<UIColor>(color);
    return c ? c->cgColor() : CGColor{0, 0, 0, 0};
}

id UIColor::colorWithRedGreenBlueAlpha(Object*, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return rgba(r, g, b, a);
}

id UIColor::colorWithWhiteAlpha(Object*, CGFloat w, CGFloat a) {
    return white(w, a);
}

id UIColor::colorWithHueSaturationBrightnessAlpha(Object*, CGFloat h, CGFloat s, CGFloat b, CGFloat a) {
    return hsba(h, s, b, a);
}

bool UIColor::getRedGreenBlueAlpha(CGFloat* r, CGFloat* g, CGFloat* b, CGFloat* a) const {
    store(red_, r);
    store(green_, g);
    store(blue_, b);
    store(alpha_, a);
    return true;
}

bool UIColor::getHueSaturationBrightnessAlpha(CGFloat* h, CGFloat* s, CGFloat* b, CGFloat* a) const {
    HSBComponents hsb = RGBtoHSB(red_, green_, blue_);
    store(hsb.h, h);
    store(hsb.s, s);
    store(hsb.b, b);
    store(alpha_, a);
    return true;
}

bool UIColor::getWhiteAlpha(CGFloat* w, CGFloat* a) const {
    if (!gray_ && !(red_ == green_ && green_ == blue_))
        return false;
    store(red_, w);
    store(alpha_, a);
    return true;
}

id UIColor::colorWithAlphaComponent(CGFloat alpha) const {
    return make(red_, green_, blue_, alpha, gray_);
}

bool UIColor::isEqual(id other) const {
    auto color = cast<UIColor>(other);
    return color && color->cgColor() == cgColor();
}

NSUInteger UIColor::hash() const {
    std::hash<CGFloat> h;
    NSUInteger seed = 0;
    for (CGFloat c : {red_, green_, blue_, alpha_})
        seed = seed * 1000003u ^ h(c + 0.0); // -0 hashes as 0, as it compares
    return seed;
}

std::string UIColor::description() const {
    char buf[128];
    if (gray_) {
        std::snprintf(buf, sizeof buf, "UIExtendedGrayColorSpace %g %g", red_, alpha_);
    } else {
        std::snprintf(buf, sizeof buf, "UIExtendedSRGBColorSpace %g %g %g %g", red_, green_, blue_, alpha_);
    }
    return buf;
}
