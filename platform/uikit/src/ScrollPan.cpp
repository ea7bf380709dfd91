#include "uikit/ScrollPan.h"

#include <cmath>

ScrollPan::State ScrollPan::moved(CGPoint translation, bool canScrollX, bool canScrollY) {
    if (state_ != State::Possible)
        return state_;
    if (std::hypot(translation.x, translation.y) <= kScrollSlop)
        return state_;
    const bool vertical = std::fabs(translation.y) >= std::fabs(translation.x);
    state_ = (vertical ? canScrollY : canScrollX) ? State::Began : State::Failed;
    return state_;
}
