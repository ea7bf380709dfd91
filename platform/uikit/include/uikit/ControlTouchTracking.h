// The control events one touch produces over a control, from where the finger is at each step.
// A touch counts as inside while it stays within the control's bounds grown by
// `kControlTouchSlop` on every side, so a finger that drifts a little off a small control
// still counts as on it. Pure state, no views.
#pragma once

#include "objc/runtime.h"

#include <vector>

inline constexpr double kControlTouchSlop = 70.0;

// Whether (x, y), in the control's own coordinates, counts as inside a control of that size.
bool touchCountsAsInside(double x, double y, double width, double height);

class ControlTouchTracking {
  public:
    // Each step returns the control events to send, in order.
    std::vector<NSUInteger> began();
    std::vector<NSUInteger> moved(bool inside);
    std::vector<NSUInteger> ended(bool inside);
    std::vector<NSUInteger> cancelled();

    bool isTracking() const { return tracking_; }
    bool isInside() const { return inside_; }

  private:
    bool tracking_ = false;
    bool inside_ = false;
};
