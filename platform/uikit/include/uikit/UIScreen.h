// The device's screen: its size in points (320 x 568 unless a host sets another) and its scale.
// Alerts center on it.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

struct UIScreen : NSObject {
    CGRect bounds() const { return bounds_; }
    CGFloat scale() const { return scale_; }

    // C++ side.
    static Ref<UIScreen> main();
    static void setMainScreen(CGSize size, CGFloat scale);

  private:
    CGRect bounds_{{0, 0}, {320, 568}};
    CGFloat scale_ = 2;
};
