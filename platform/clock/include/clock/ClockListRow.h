// A row of the alarm list: a control that acts on a finger lifted inside it, unless the finger
// moved up or down past a small slop first; then the row's touch is cancelled and the movement
// scrolls the list instead, as a table in a scroll view does. So a list longer than the screen
// is reached by dragging its rows.
#pragma once

#include "uikit/UIControl.h"

#include <functional>

namespace clockapp {

// Points a finger moves before a row's touch becomes a scroll.
inline constexpr CGFloat kScrollSlop = 10;

struct ClockListRow : UIControl {
    static Ref<ClockListRow> make(CGRect frame, std::function<void(CGFloat)> scrollBy);

    void touchesMovedWithEvent(std::vector<id> touches, id event);
    void touchesEndedWithEvent(std::vector<id> touches, id event);
    void touchesBeganWithEvent(std::vector<id> touches, id event);

  private:
    // Where the finger is in the window (the row itself moves as the list scrolls).
    static CGFloat windowY(const id& touch);

    std::function<void(CGFloat)> scrollBy_;
    CGFloat startY_ = 0;
    CGFloat lastY_ = 0;
    bool scrolling_ = false;
};

} // namespace clockapp
