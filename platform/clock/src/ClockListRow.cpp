// The alarm list's row: a tap acts, a vertical drag scrolls the list.
#include "clock/ClockListRow.h"

#include <cmath>

namespace clockapp {

Ref<ClockListRow> ClockListRow::make(CGRect frame, std::function<void(CGFloat)> scrollBy) {
    auto row = cast<ClockListRow>(
        msg<id>(msg<id>(classObject(objc_getClass("ClockListRow")), "alloc"), "initWithFrame:", frame));
    row->scrollBy_ = std::move(scrollBy);
    return row;
}

CGFloat ClockListRow::windowY(const id& touch) {
    return msg<CGPoint>(touch, "locationInView:", nullptr).y;
}

void ClockListRow::touchesBeganWithEvent(std::vector<id> touches, id event) {
    scrolling_ = false;
    if (!touches.empty())
        startY_ = lastY_ = windowY(touches.front());
    msgSuper(this, classOf<ClockListRow>(), "touchesBegan:withEvent:", touches, event);
}

void ClockListRow::touchesMovedWithEvent(std::vector<id> touches, id event) {
    if (touches.empty())
        return;
    const CGFloat y = windowY(touches.front());
    if (!scrolling_ && std::fabs(y - startY_) > kScrollSlop) {
        // The row gives the touch up: no tap comes of it.
        scrolling_ = true;
        msgSuper(this, classOf<ClockListRow>(), "touchesCancelled:withEvent:", touches, event);
        lastY_ = startY_;
    }
    if (scrolling_) {
        id keep = self();
        if (scrollBy_)
            scrollBy_(lastY_ - y);
        lastY_ = y;
        return;
    }
    msgSuper(this, classOf<ClockListRow>(), "touchesMoved:withEvent:", touches, event);
}

void ClockListRow::touchesEndedWithEvent(std::vector<id> touches, id event) {
    if (scrolling_) {
        scrolling_ = false;
        return;
    }
    msgSuper(this, classOf<ClockListRow>(), "touchesEnded:withEvent:", touches, event);
}

namespace {
const ClassDef<ClockListRow>
    kClockListRow("ClockListRow", "UIControl",
                  {
                      method("touchesBegan:withEvent:", &ClockListRow::touchesBeganWithEvent),
                      method("touchesMoved:withEvent:", &ClockListRow::touchesMovedWithEvent),
                      method("touchesEnded:withEvent:", &ClockListRow::touchesEndedWithEvent),
                  });
} // namespace

} // namespace clockapp
