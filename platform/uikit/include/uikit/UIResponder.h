// The base of everything that takes touches. By default a responder hands each touch message
// on to its next responder (a view's superview), so a touch on a plain view inside a control
// still reaches the control's owner chain.
#pragma once

#include "objc/runtime.h"

#include <vector>

struct UIResponder : NSObject {
    id nextResponder() { return nullptr; }
    void touchesBeganWithEvent(std::vector<id> touches, id event);
    void touchesMovedWithEvent(std::vector<id> touches, id event);
    void touchesEndedWithEvent(std::vector<id> touches, id event);
    void touchesCancelledWithEvent(std::vector<id> touches, id event);
};
