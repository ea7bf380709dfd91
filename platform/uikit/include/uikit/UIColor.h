// A color: red, green and blue with alpha, or a white level with alpha (a gray). Both kinds
// answer every accessor; a gray answers getRed: with red = green = blue = its white level,
// and compares equal to the RGB color of the same components. Components are kept as given;
// only the HSB conversion brings values into [0, 1].
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

struct UIColor : NSObject {
    CGFloat red_ = 0, green_ = 0, blue_ = 0, alpha_ = 0;
    bool gray_ = false; // made from a white level

    // C++ helpers for platform code.
    static Ref<UIColor> rgba(CGFloat r, CGFloat g, CGFloat b, CGFloat a);
    static Ref<UIColor> white(CGFloat w, CGFloat a);
    static Ref<UIColor> hsba(CGFloat h, CGFloat s, CGFloat b, CGFloat a);
    // The color of any object that is a UIColor, else transparent (as a nil color draws nothing).
    static CGColor cgColorOf(const id& color);

    // +colorWithRed:green:blue:alpha:, +colorWithWhite:alpha:, +colorWithHue:saturation:brightness:alpha:
    static id colorWithRedGreenBlueAlpha(Object* cls, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
    static id colorWithWhiteAlpha(Object* cls, CGFloat w, CGFloat a);
    static id colorWithHueSaturationBrightnessAlpha(Object* cls, CGFloat h, CGFloat s, CGFloat b, CGFloat a);

    bool getRedGreenBlueAlpha(CGFloat* r, CGFloat* g, CGFloat* b, CGFloat* a) const;
    bool getHueSaturationBrightnessAlpha(CGFloat* h, CGFloat* s, CGFloat* b, CGFloat* a) const;
    // True for grays (a white level, or equal red, green and blue); other colors leave the
    // out-parameters alone and answer false.
    bool getWhiteAlpha(CGFloat* w, CGFloat* a) const;
    // -CGColor (a member cannot share the type's name).
    CGColor cgColor() const { return {red_, green_, blue_, alpha_}; }
    id colorWithAlphaComponent(CGFloat alpha) const;
    bool isEqual(id other) const;
    NSUInteger hash() const;
    std::string description() const;
};
