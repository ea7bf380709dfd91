// A control: a view that turns touches into control events and sends each event's actions to
// their targets through the runtime.
//
// Targets are held weakly: an action whose target went away is skipped. A target of none
// means the first object up the superview chain that answers the action. An action method may
// take nothing, the sender, or the sender and the event (the UIEvent of the touch, none for
// events sent from code); the control calls it according to the method's own signature.
//
// Tracking a touch: touch down (when `beginTrackingWithTouch:withEvent:` accepts it), then
// drag inside or outside while the finger moves (with drag enter and exit on crossing), then
// up inside or outside, or cancel. The control is highlighted while the finger is inside.
// Inside means within the bounds grown by 70 points on every side.
#pragma once

#include "uikit/ControlTouchTracking.h"
#include "uikit/UIView.h"

#include <string>
#include <vector>

struct UIControl : UIView {
    void addTargetActionForControlEvents(id target, SEL action, NSUInteger events);
    void removeTargetActionForControlEvents(id target, SEL action, NSUInteger events);
    std::vector<id> allTargets() const;
    // The selector names sent to `target` (none: the actions registered without a target) for
    // one control event.
    std::vector<std::string> actionsForTargetForControlEvent(id target, NSUInteger controlEvent) const;
    void sendActionsForControlEvents(NSUInteger events);
    void sendActionToForEvent(SEL action, id target, id event);

    NSUInteger state() const;
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    bool isTracking() const { return tracking_.isTracking(); }
    bool isTouchInside() const { return tracking_.isInside(); }

    // Tracking hooks a subclass may override.
    bool beginTrackingWithTouchWithEvent(id /*touch*/, id /*event*/) { return true; }
    bool continueTrackingWithTouchWithEvent(id /*touch*/, id /*event*/) { return true; }
    void endTrackingWithTouchWithEvent(id /*touch*/, id /*event*/) {}
    void cancelTrackingWithEvent(id /*event*/) {}

    void touchesBeganWithEvent(std::vector<id> touches, id event);
    void touchesMovedWithEvent(std::vector<id> touches, id event);
    void touchesEndedWithEvent(std::vector<id> touches, id event);
    void touchesCancelledWithEvent(std::vector<id> touches, id event);

  protected:
    // Whether what the control draws differs between the state `before` and its state now (both
    // differ): a control draws itself again only then. Every state shows, unless a subclass says.
    virtual bool drawsStateChange(NSUInteger /*before*/) const { return true; }

  private:
    void stateChanged(NSUInteger before);
    struct TargetAction {
        weak_id target;
        bool targetWasNone = false;
        SEL action = nullptr;
        NSUInteger events = 0;
    };
    void sendEvents(const std::vector<NSUInteger>& events, id event);
    void sendEvent(NSUInteger controlEvent, id event);
    bool touchIsInside(const id& touch);

    std::vector<TargetAction> targets_;
    ControlTouchTracking tracking_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
};
