#include "picker/PickerGeometry.h"

#include <algorithm>

namespace {
constexpr double kMargin = 10;
constexpr double kBarHeight = 40;
constexpr double kMarkerWidth = 16;
constexpr double kMarkerHeight = 48;
constexpr double kMarkerOverhang = 4; // the marker stands this far above and below the bar
constexpr double kSliderLabelWidth = 100;
constexpr double kCrosshairSize = 20;

// Clamping that never fails on an inverted range (a degenerate frame): the lower end wins.
double clampTo(double v, double low, double high) {
    return std::max(low, std::min(v, high));
}

// The frames are used as given (never standardized), so read the fields directly.
double minX(const CGRect& r) {
    return r.origin.x;
}
double minY(const CGRect& r) {
    return r.origin.y;
}
double maxX(const CGRect& r) {
    return r.origin.x + r.size.width;
}
double maxY(const CGRect& r) {
    return r.origin.y + r.size.height;
}
bool containsHalfOpen(const CGRect& r, CGPoint p) {
    return minX(r) <= p.x && p.x < maxX(r) && minY(r) <= p.y && p.y < maxY(r);
}
} // namespace

CGRect squareFrame(CGSize picker, double lh) {
    return CGRectMake(kMargin, lh + kMargin + kMargin, picker.width - 2 * kMargin,
                      picker.height - 30 - 80 - lh + 10);
}

CGRect barFrame(CGRect square, CGSize picker, double lh) {
    return CGRectMake(kMargin, square.origin.y + 4 + square.size.height + 10 + lh, picker.width - 2 * kMargin,
                      kBarHeight);
}

PickerFrames pickerFrames(CGSize picker, double lh) {
    PickerFrames f;
    const double w = picker.width;
    const double half = w * 0.5;
    f.measuringLabel = CGRectMake(kMargin, kMargin, half - 2 * kMargin, 40);
    f.topLeftLabel = CGRectMake(kMargin, kMargin, half - 2 * kMargin, lh);
    f.topRightLabel = CGRectMake(half + kMargin, kMargin, half - 2 * kMargin, lh);
    f.square = squareFrame(picker, lh);
    f.bar = barFrame(f.square, picker, lh);
    f.marker = CGRectMake(f.bar.origin.x - kMarkerWidth / 2, f.bar.origin.y - kMarkerOverhang, kMarkerWidth,
                          kMarkerHeight);
    const double sliderLabelY = f.bar.origin.y - lh - 4;
    f.sliderTitle = CGRectMake(half - kSliderLabelWidth, sliderLabelY, kSliderLabelWidth, lh);
    f.sliderValueLabel = CGRectMake(half + 2, sliderLabelY, kSliderLabelWidth, lh);
    f.sliderEntryButton =
        CGRectMake(half - kSliderLabelWidth, sliderLabelY, w - 2 * (half - kSliderLabelWidth), lh);
    f.crosshair = CGRectMake(f.square.origin.x, f.square.origin.y, kCrosshairSize, kCrosshairSize);
    return f;
}

TouchTarget dispatchTouch(const TouchRegions& r, CGPoint p) {
    const CGRect& s = r.square;
    const CGRect& b = r.bar;
    if (containsHalfOpen(s, p))
        return {TouchTarget::Square, p};
    if (containsHalfOpen(b, p))
        return {TouchTarget::Bar, p};
    if (minY(b) <= p.y && p.y <= maxY(b))
        return {TouchTarget::Bar, {clampTo(p.x, minX(b), maxX(b)), p.y}};
    if (p.y < r.sliderLabelTop && p.y > r.topLabelBottom) {
        return {TouchTarget::Square, {clampTo(p.x, minX(s), maxX(s)), clampTo(p.y, minY(s), maxY(s))}};
    }
    return {};
}

// A touch on an edge of a frame with a fractional origin divides to a hair outside [0, 1]
// (-2e-16, or 1 + 2e-16): every component a touch sets is clamped back into it.
namespace {
double unitClamped(double v) {
    return std::clamp(v, 0.0, 1.0);
}
} // namespace

void applySquareTouch(const PickerLayout& layout, HsbComponents& hsb, CGRect square, CGPoint q) {
    hsb[layout.across] = unitClamped((q.x - square.origin.x) / square.size.width);
    hsb[layout.down] = unitClamped(1 - (q.y - square.origin.y) / square.size.height);
}

void applyBarTouch(const PickerLayout& layout, HsbComponents& hsb, CGRect bar, double x) {
    const double fraction = (x - bar.origin.x) / bar.size.width;
    hsb[layout.slider] = unitClamped(layout.sliderFallsToTheRight ? 1 - fraction : fraction);
}

CGPoint crosshairCenter(const PickerLayout& layout, const HsbComponents& hsb, CGRect square) {
    return {hsb[layout.across] * square.size.width + square.origin.x,
            (1 - hsb[layout.down]) * square.size.height + square.origin.y};
}

CGPoint markerCenter(const PickerLayout& layout, const HsbComponents& hsb, CGRect bar) {
    const double v = hsb[layout.slider];
    const double fraction = layout.sliderFallsToTheRight ? 1 - v : v;
    return {static_cast<double>(static_cast<float>(fraction * bar.size.width + bar.origin.x)),
            bar.origin.y + bar.size.height / 2};
}
