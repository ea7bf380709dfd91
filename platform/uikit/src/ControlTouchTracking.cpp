#include "uikit/ControlTouchTracking.h"

#include "uikit/UIKitConstants.h"

bool touchCountsAsInside(double x, double y, double width, double height) {
    return x >= -kControlTouchSlop && x <= width + kControlTouchSlop && y >= -kControlTouchSlop &&
           y <= height + kControlTouchSlop;
}

std::vector<NSUInteger> ControlTouchTracking::began() {
    tracking_ = true;
    inside_ = true;
    return {UIControlEventTouchDown};
}

std::vector<NSUInteger> ControlTouchTracking::moved(bool inside) {
    if (!tracking_)
        return {};
    std::vector<NSUInteger> events;
    if (inside && !inside_)
        events.push_back(UIControlEventTouchDragEnter);
    if (!inside && inside_)
        events.push_back(UIControlEventTouchDragExit);
    events.push_back(inside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside);
    inside_ = inside;
    return events;
}

std::vector<NSUInteger> ControlTouchTracking::ended(bool inside) {
    if (!tracking_)
        return {};
    tracking_ = false;
    inside_ = inside;
    return {inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside};
}

std::vector<NSUInteger> ControlTouchTracking::cancelled() {
    if (!tracking_)
        return {};
    tracking_ = false;
    inside_ = false;
    return {UIControlEventTouchCancel};
}
