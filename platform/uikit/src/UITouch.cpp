#include "uikit/UITouch.h"

#include "uikit/UIKitConstants.h"

CGPoint UITouch::convert(CGPoint windowPoint, const id& view) const {
    if (!view)
        return windowPoint;
    return msg<CGPoint>(view, SELECTOR("convertPoint:fromView:"), windowPoint, nullptr);
}

CGPoint UITouch::locationInView(id view) const {
    return convert(location_, view);
}
CGPoint UITouch::previousLocationInView(id view) const {
    return convert(previous_, view);
}

void UITouch::begin(id view, const id& window, CGPoint location) {
    view_ = std::move(view);
    window_ = window;
    location_ = previous_ = location;
    phase_ = UITouchPhaseBegan;
}

void UITouch::moveTo(CGPoint location, NSInteger phase) {
    previous_ = location_;
    location_ = location;
    phase_ = phase;
}

namespace {
const ClassDef<UITouch> kUITouch("UITouch", "NSObject",
                                 {
                                     method("locationInView:", &UITouch::locationInView),
                                     method("previousLocationInView:", &UITouch::previousLocationInView),
                                     method("view", &UITouch::view),
                                     method("window", &UITouch::window),
                                     method("phase", &UITouch::phase),
                                     method("tapCount", &UITouch::tapCount),
                                 });
} // namespace
