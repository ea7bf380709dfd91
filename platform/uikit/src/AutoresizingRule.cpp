#include "uikit/AutoresizingRule.h"

#include <cmath>

AxisExtent resizeAlongAxis(AxisExtent view, AxisFlexibility flexible, double oldParentLength,
                           double newParentLength) {
    const double change = newParentLength - oldParentLength;
    const int flexibleCount = int(flexible.leadingMargin) + int(flexible.size) + int(flexible.trailingMargin);
    if (change == 0 || flexibleCount == 0)
        return view;

    const double leading = view.origin;
    const double trailing = oldParentLength - view.origin - view.length;
    double weightSum = 0;
    if (flexible.leadingMargin)
        weightSum += leading;
    if (flexible.size)
        weightSum += view.length;
    if (flexible.trailingMargin)
        weightSum += trailing;

    // A share in proportion to the part's length; equal shares when the lengths give no proportion
    // (all zero, or margins that went negative and cancel the rest out).
    const bool proportional = std::fabs(weightSum) > 1e-9;
    auto shareOf = [&](double partLength) {
        return proportional ? change * partLength / weightSum : change / flexibleCount;
    };
    AxisExtent result = view;
    if (flexible.leadingMargin)
        result.origin += shareOf(leading);
    if (flexible.size)
        result.length += shareOf(view.length);
    return result;
}
