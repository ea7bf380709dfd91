// The touches of one gesture, as delivered with each touch message.
#pragma once

#include "objc/runtime.h"

#include <vector>

struct UIEvent : NSObject {
    std::vector<id> allTouches() const { return touches_; }
    // The touches delivered to `view` or to a view inside it.
    std::vector<id> touchesForView(id view) const;
    std::vector<id> touchesForWindow(id window) const;

    // C++ side.
    void setTouches(std::vector<id> touches) { touches_ = std::move(touches); }

  private:
    std::vector<id> touches_;
};
