#include "uikit/UIResponder.h"

void UIResponder::touchesBeganWithEvent(std::vector<id> touches, id event) {
    msg(msg<id>(this, "nextResponder"), "touchesBegan:withEvent:", std::move(touches), std::move(event));
}
void UIResponder::touchesMovedWithEvent(std::vector<id> touches, id event) {
    msg(msg<id>(this, "nextResponder"), "touchesMoved:withEvent:", std::move(touches), std::move(event));
}
void UIResponder::touchesEndedWithEvent(std::vector<id> touches, id event) {
    msg(msg<id>(this, "nextResponder"), "touchesEnded:withEvent:", std::move(touches), std::move(event));
}
void UIResponder::touchesCancelledWithEvent(std::vector<id> touches, id event) {
    msg(msg<id>(this, "nextResponder"), "touchesCancelled:withEvent:", std::move(touches), std::move(event));
}

namespace {
const ClassDef<UIResponder>
    kUIResponder("UIResponder", "NSObject",
                 {
                     method("nextResponder", &UIResponder::nextResponder),
                     method("touchesBegan:withEvent:", &UIResponder::touchesBeganWithEvent),
                     method("touchesMoved:withEvent:", &UIResponder::touchesMovedWithEvent),
                     method("touchesEnded:withEvent:", &UIResponder::touchesEndedWithEvent),
                     method("touchesCancelled:withEvent:", &UIResponder::touchesCancelledWithEvent),
                 });
} // namespace
