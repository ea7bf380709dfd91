// Helpers for the UIKit tests: making views by class name, colors, and a target that records
// the actions and delegate calls it receives, in order.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UIColor.h"

#include <string>
#include <vector>

inline id makeView(const char* className, CGRect frame) {
    return msg<id>(msg<id>(classObject(objc_getClass(className)), "alloc"), "initWithFrame:", frame);
}

inline id rgba(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1) {
    return UIColor::rgba(r, g, b, a);
}

// Records every call as a line: "action0", "action1 <sender>", "clicked 2", ...
struct Recorder : NSObject {
    std::vector<std::string> calls;
    id lastSender;
    id lastEvent;
};

// The recorder's class, with actions of every arity and the alert delegate methods.
Class* recorderClass();
Ref<Recorder> makeRecorder();
// Adds the recorder as target of every control event, each recorded by name ("down",
// "dragInside", "dragOutside", "enter", "exit", "upInside", "upOutside", "cancel", "changed").
void recordAllControlEvents(const id& control, const Ref<Recorder>& recorder);
