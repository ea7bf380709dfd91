#include "springboard/AppIcons.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace springboard {

void strokeLine(CGContextRef context, CGPoint from, CGPoint to, CGFloat width) {
    const CGFloat length = std::hypot(to.x - from.x, to.y - from.y);
    const int steps = std::max(1, int(std::ceil(length / (width / 4))));
    for (int i = 0; i <= steps; ++i) {
        const CGFloat t = CGFloat(i) / steps;
        const CGPoint p{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
        CGContextFillEllipseInRect(context, CGRectMake(p.x - width / 2, p.y - width / 2, width, width));
    }
}

namespace {
// The point at `fraction` of a turn clockwise from twelve o'clock, `radius` from the center.
CGPoint onDial(CGPoint center, CGFloat radius, CGFloat fraction) {
    const CGFloat angle = fraction * 2 * std::numbers::pi;
    return {center.x + radius * std::sin(angle), center.y - radius * std::cos(angle)};
}
} // namespace

void drawClockIcon(CGContextRef context, CGFloat side) {
    CGContextSetRGBFillColor(context, 0, 0, 0, 1);
    CGContextFillRect(context, CGRectMake(0, 0, side, side));
    const CGFloat inset = side * 0.08;
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillEllipseInRect(context, CGRectMake(inset, inset, side - 2 * inset, side - 2 * inset));
    const CGPoint center{side / 2, side / 2};
    const CGFloat radius = side / 2 - inset;
    CGContextSetRGBFillColor(context, 0, 0, 0, 1);
    for (int hour = 0; hour < 12; ++hour)
        strokeLine(context, onDial(center, radius * 0.78, hour / 12.0),
                   onDial(center, radius * 0.9, hour / 12.0), side * (hour % 3 == 0 ? 0.035 : 0.02));
    strokeLine(context, center, onDial(center, radius * 0.5, (10 + 10.0 / 60) / 12), side * 0.05);
    strokeLine(context, center, onDial(center, radius * 0.75, 10.0 / 60), side * 0.035);
    CGContextSetRGBFillColor(context, 1, 0.23, 0.19, 1);
    strokeLine(context, onDial(center, radius * 0.2, 0.5 + 33.0 / 60),
               onDial(center, radius * 0.85, 33.0 / 60), side * 0.015);
    CGContextFillEllipseInRect(
        context, CGRectMake(center.x - side * 0.03, center.y - side * 0.03, side * 0.06, side * 0.06));
}

void drawSettingsIcon(CGContextRef context, CGFloat side) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGGradientRef gradient = CGGradientCreateWithColors(
        space, {CGColor{0.62, 0.64, 0.67, 1}, CGColor{0.38, 0.40, 0.43, 1}}, nullptr);
    CGContextDrawLinearGradient(context, gradient, CGPointMake(0, 0), CGPointMake(0, side), 0);
    CGGradientRelease(gradient);
    CGColorSpaceRelease(space);
    const CGPoint center{side / 2, side / 2};
    // The gear: a dark wheel with twelve teeth, a light ring inside, a dark hub.
    CGContextSetRGBFillColor(context, 0.22, 0.23, 0.25, 1);
    for (int tooth = 0; tooth < 12; ++tooth)
        strokeLine(context, onDial(center, side * 0.28, tooth / 12.0),
                   onDial(center, side * 0.4, tooth / 12.0), side * 0.09);
    const CGFloat wheel = side * 0.62;
    CGContextFillEllipseInRect(context, CGRectMake(center.x - wheel / 2, center.y - wheel / 2, wheel, wheel));
    const CGFloat ring = side * 0.42;
    CGContextSetRGBFillColor(context, 0.78, 0.79, 0.81, 1);
    CGContextFillEllipseInRect(context, CGRectMake(center.x - ring / 2, center.y - ring / 2, ring, ring));
    const CGFloat hub = side * 0.2;
    CGContextSetRGBFillColor(context, 0.32, 0.33, 0.36, 1);
    CGContextFillEllipseInRect(context, CGRectMake(center.x - hub / 2, center.y - hub / 2, hub, hub));
}

void drawWallpaper(CGContextRef context, CGSize size) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGGradientRef gradient = CGGradientCreateWithColors(
        space, {CGColor{0.11, 0.25, 0.45, 1}, CGColor{0.30, 0.22, 0.50, 1}, CGColor{0.62, 0.33, 0.50, 1}},
        nullptr);
    CGContextDrawLinearGradient(context, gradient, CGPointMake(0, 0), CGPointMake(0, size.height),
                                kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    CGGradientRelease(gradient);
    CGColorSpaceRelease(space);
}

} // namespace springboard
