// One finger on the screen: where it is (in window coordinates), where it was, its phase and
// the view it landed on, which keeps receiving it until it lifts.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

struct UITouch : NSObject {
    CGPoint locationInView(id view) const;
    CGPoint previousLocationInView(id view) const;
    id view() const { return view_; }
    id window() const { return window_.lock(); }
    NSInteger phase() const { return phase_; }
    NSUInteger tapCount() const { return tapCount_; }

    // C++ side, for the window that drives the touch.
    void begin(id view, const id& window, CGPoint location);
    void moveTo(CGPoint location, NSInteger phase);

  private:
    CGPoint convert(CGPoint windowPoint, const id& view) const;

    id view_;
    weak_id window_;
    CGPoint location_{};
    CGPoint previous_{};
    NSInteger phase_ = 0;
    NSUInteger tapCount_ = 1;
};
