#include "uikit_test_support.h"

namespace {
// One action a control event, each recording the event's name.
objc::Entry eventAction(const char* selector, const char* name) {
    return method(selector,
                  [name](Object* self, id) { static_cast<Recorder*>(self)->calls.push_back(name); });
}

const ClassDef<Recorder> kRecorder(
    "TestRecorder", "NSObject",
    {
        eventAction("down:", "down"),
        eventAction("dragInside:", "dragInside"),
        eventAction("dragOutside:", "dragOutside"),
        eventAction("dragEnter:", "enter"),
        eventAction("dragExit:", "exit"),
        eventAction("upInside:", "upInside"),
        eventAction("upOutside:", "upOutside"),
        eventAction("cancel:", "cancel"),
        eventAction("changed:", "changed"),
        method("action0", [](Object* self) { static_cast<Recorder*>(self)->calls.push_back("action0"); }),
        method("action1:",
               [](Object* self, id sender) {
                   auto* r = static_cast<Recorder*>(self);
                   r->calls.push_back("action1");
                   r->lastSender = sender;
               }),
        method("action2:event:",
               [](Object* self, id sender, id event) {
                   auto* r = static_cast<Recorder*>(self);
                   r->calls.push_back("action2");
                   r->lastSender = sender;
                   r->lastEvent = event;
               }),
        method("alertView:clickedButtonAtIndex:",
               [](Object* self, id, NSInteger index) {
                   static_cast<Recorder*>(self)->calls.push_back("clicked " + std::to_string(index));
               }),
        method("alertView:willDismissWithButtonIndex:",
               [](Object* self, id, NSInteger index) {
                   static_cast<Recorder*>(self)->calls.push_back("willDismiss " + std::to_string(index));
               }),
        method("alertView:didDismissWithButtonIndex:",
               [](Object* self, id alert, NSInteger index) {
                   auto* r = static_cast<Recorder*>(self);
                   r->calls.push_back("didDismiss " + std::to_string(index) +
                                      (msg<bool>(alert, "isVisible") ? " visible" : ""));
               }),
    });
} // namespace

Class* recorderClass() {
    return objc_getClass("TestRecorder");
}

void recordAllControlEvents(const id& control, const Ref<Recorder>& recorder) {
    const std::pair<const char*, NSUInteger> actions[] = {
        {"down:", 1},      {"dragInside:", 4},  {"dragOutside:", 8}, {"dragEnter:", 16}, {"dragExit:", 32},
        {"upInside:", 64}, {"upOutside:", 128}, {"cancel:", 256},    {"changed:", 4096},
    };
    for (const auto& [selector, event] : actions)
        msg(control, "addTarget:action:forControlEvents:", recorder, sel_registerName(selector), event);
}

Ref<Recorder> makeRecorder() {
    return cast<Recorder>(msg<id>(classObject(recorderClass()), "new"));
}
