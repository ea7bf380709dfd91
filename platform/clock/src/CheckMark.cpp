// The check mark, drawn as two strokes of small squares through the current context.
#include "CheckMark.h"

#include "coregraphics/UIGraphics.h"
#include "uikit/UIColor.h"

#include <algorithm>
#include <cmath>

namespace clockapp {

namespace {
constexpr CGFloat kStroke = 2;

// Squares `kStroke` wide along the segment from a to b, half a point apart.
void stroke(CGContextRef context, CGPoint a, CGPoint b) {
    const CGFloat length = std::hypot(b.x - a.x, b.y - a.y);
    const int steps = std::max(1, int(std::ceil(length / 0.5)));
    for (int i = 0; i <= steps; ++i) {
        const CGFloat f = CGFloat(i) / steps;
        const CGFloat x = a.x + (b.x - a.x) * f, y = a.y + (b.y - a.y) * f;
        CGContextFillRect(context, {{x - kStroke / 2, y - kStroke / 2}, {kStroke, kStroke}});
    }
}
} // namespace

id CheckMark::make(CGRect frame) {
    id mark =
        msg<id>(msg<id>(classObject(objc_getClass("ClockCheckMark")), "alloc"), "initWithFrame:", frame);
    msg(mark, "setUserInteractionEnabled:", false);
    return mark;
}

void CheckMark::drawRect(CGRect) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    const CGRect b = bounds();
    const CGFloat w = b.size.width, h = b.size.height;
    CGContextSetRGBFillColor(context, 0.0, 0.478, 1.0, 1);
    stroke(context, {w * 0.1, h * 0.55}, {w * 0.38, h * 0.85});
    stroke(context, {w * 0.38, h * 0.85}, {w * 0.9, h * 0.15});
}

namespace {
const ClassDef<CheckMark> kCheckMark("ClockCheckMark", "UIView",
                                     {
                                         method("drawRect:", &CheckMark::drawRect),
                                     });
} // namespace

} // namespace clockapp
