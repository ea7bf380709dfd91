// Whether a finger moving on a scroll view starts a scroll: the decision a scroll view's pan
// makes once per touch. Until the finger has moved more than the slop (10 points) from where it
// came down, nothing is decided and the touched view keeps getting the moves. Past the slop the
// axis it moved along more decides: when the scroll view can scroll along that axis the pan
// begins (the scroll takes the touch), otherwise it fails and the touch stays with the view for
// good (a sideways drag on a slider in a table that only scrolls up and down).
#pragma once

#include "coregraphics/CoreGraphics.h"

inline constexpr CGFloat kScrollSlop = 10;

class ScrollPan {
  public:
    enum class State { Possible, Began, Failed };

    // The finger is `translation` away from where it came down; the view can scroll across
    // (x) and up and down (y). Once began or failed the state stays.
    State moved(CGPoint translation, bool canScrollX, bool canScrollY);
    State state() const { return state_; }

  private:
    State state_ = State::Possible;
};
