#include "uikit/UIControl.h"

#include "uikit/UIKitConstants.h"

#include <algorithm>

void UIControl::addTargetActionForControlEvents(id target, SEL action, NSUInteger events) {
    if (!action || events == 0)
        return;
    for (TargetAction& t : targets_) {
        if (t.action == action && t.targetWasNone == !target && t.target.lock() == target) {
            t.events |= events;
            return;
        }
    }
    targets_.push_back({target, !target, action, events});
}

void UIControl::removeTargetActionForControlEvents(id target, SEL action, NSUInteger events) {
    for (TargetAction& t : targets_) {
        const bool sameTarget = !target || t.target.lock() == target;
        if (sameTarget && (!action || t.action == action))
            t.events &= ~events;
    }
    targets_.erase(
        std::remove_if(targets_.begin(), targets_.end(), [](const TargetAction& t) { return t.events == 0; }),
        targets_.end());
}

std::vector<id> UIControl::allTargets() const {
    std::vector<id> out;
    for (const TargetAction& t : targets_) {
        if (id target = t.target.lock())
            out.push_back(target);
    }
    return out;
}

std::vector<std::string> UIControl::actionsForTargetForControlEvent(id target,
                                                                    NSUInteger controlEvent) const {
    std::vector<std::string> out;
    for (const TargetAction& t : targets_) {
        if (!(t.events & controlEvent))
            continue;
        const bool matches = target ? t.target.lock() == target : t.targetWasNone;
        if (matches && t.action)
            out.emplace_back(sel_getName(t.action));
    }
    return out;
}

void UIControl::sendActionToForEvent(SEL action, id target, id event) {
    if (!target || !action)
        return;
    const Method* m = target->isa->lookup(action);
    if (m && m->imp.signature == typeid(void())) {
        msg(target, action);
    } else if (m && m->imp.signature == typeid(void(id, id))) {
        msg(target, action, self(), event);
    } else {
        msg(target, action, self()); // the sender; any other signature stops the program, naming the action
    }
}

void UIControl::sendEvent(NSUInteger controlEvent, id event) {
    id keep = self();
    const std::vector<TargetAction> snapshot = targets_; // an action may add or remove targets
    for (const TargetAction& t : snapshot) {
        if (!(t.events & controlEvent))
            continue;
        id target = t.target.lock();
        if (!target && t.targetWasNone) {
            // The first responder up the chain that answers the action.
            for (id r = self(); r; r = msg<id>(r, "nextResponder")) {
                if (respondsToSelector(r.get(), t.action)) {
                    target = r;
                    break;
                }
            }
        }
        if (target)
            msg(this, SELECTOR("sendAction:to:forEvent:"), t.action, target, event);
    }
}

void UIControl::sendEvents(const std::vector<NSUInteger>& events, id event) {
    for (NSUInteger e : events)
        sendEvent(e, event);
}

void UIControl::sendActionsForControlEvents(NSUInteger events) {
    for (NSUInteger bit = 1; bit != 0 && bit <= events; bit <<= 1) {
        if (events & bit)
            sendEvent(bit, nullptr);
    }
}

NSUInteger UIControl::state() const {
    NSUInteger s = UIControlStateNormal;
    if (highlighted_)
        s |= UIControlStateHighlighted;
    if (!enabled_)
        s |= UIControlStateDisabled;
    if (selected_)
        s |= UIControlStateSelected;
    return s;
}

void UIControl::setEnabled(bool enabled) {
    const NSUInteger before = state();
    enabled_ = enabled;
    stateChanged(before);
}

void UIControl::setHighlighted(bool highlighted) {
    const NSUInteger before = state();
    highlighted_ = highlighted;
    stateChanged(before);
}

void UIControl::setSelected(bool selected) {
    const NSUInteger before = state();
    selected_ = selected;
    stateChanged(before);
}

void UIControl::stateChanged(NSUInteger before) {
    // A state set to what it was, or one the control's drawing does not show, draws nothing anew.
    if (state() != before && drawsStateChange(before))
        msg(this, SELECTOR("setNeedsDisplay"));
}

bool UIControl::touchIsInside(const id& touch) {
    const CGPoint p = msg<CGPoint>(touch, SELECTOR("locationInView:"), self());
    return touchCountsAsInside(p.x, p.y, frame().size.width, frame().size.height);
}

void UIControl::touchesBeganWithEvent(std::vector<id> touches, id event) {
    if (!enabled_ || touches.empty() || tracking_.isTracking())
        return;
    id keep = self();
    if (!msg<bool>(this, "beginTrackingWithTouch:withEvent:", touches.front(), event))
        return;
    const auto events = tracking_.began();
    msg(this, SELECTOR("setHighlighted:"), true);
    sendEvents(events, event);
}

void UIControl::touchesMovedWithEvent(std::vector<id> touches, id event) {
    if (!tracking_.isTracking() || touches.empty())
        return;
    id keep = self();
    const bool inside = touchIsInside(touches.front());
    const bool goOn =
        msg<bool>(this, SELECTOR("continueTrackingWithTouch:withEvent:"), touches.front(), event);
    if (inside != highlighted_)
        msg(this, SELECTOR("setHighlighted:"), inside);
    sendEvents(tracking_.moved(inside), event);
    if (!goOn) {
        tracking_ = ControlTouchTracking{};
        msg(this, SELECTOR("setHighlighted:"), false);
    }
}

void UIControl::touchesEndedWithEvent(std::vector<id> touches, id event) {
    if (!tracking_.isTracking() || touches.empty())
        return;
    id keep = self();
    const bool inside = touchIsInside(touches.front());
    msg(this, "endTrackingWithTouch:withEvent:", touches.front(), event);
    msg(this, SELECTOR("setHighlighted:"), false);
    sendEvents(tracking_.ended(inside), event);
}

void UIControl::touchesCancelledWithEvent(std::vector<id>, id event) {
    if (!tracking_.isTracking())
        return;
    id keep = self();
    msg(this, "cancelTrackingWithEvent:", event);
    msg(this, SELECTOR("setHighlighted:"), false);
    sendEvents(tracking_.cancelled(), event);
}

namespace {
const ClassDef<UIControl> kUIControl(
    "UIControl", "UIView",
    {
        method("addTarget:action:forControlEvents:", &UIControl::addTargetActionForControlEvents),
        method("removeTarget:action:forControlEvents:", &UIControl::removeTargetActionForControlEvents),
        method("allTargets", &UIControl::allTargets),
        method("actionsForTarget:forControlEvent:", &UIControl::actionsForTargetForControlEvent),
        method("sendActionsForControlEvents:", &UIControl::sendActionsForControlEvents),
        method("sendAction:to:forEvent:", &UIControl::sendActionToForEvent),
        method("state", &UIControl::state),
        method("isEnabled", &UIControl::isEnabled),
        method("setEnabled:", &UIControl::setEnabled),
        method("isHighlighted", &UIControl::isHighlighted),
        method("setHighlighted:", &UIControl::setHighlighted),
        method("isSelected", &UIControl::isSelected),
        method("setSelected:", &UIControl::setSelected),
        method("isTracking", &UIControl::isTracking),
        method("isTouchInside", &UIControl::isTouchInside),
        method("beginTrackingWithTouch:withEvent:", &UIControl::beginTrackingWithTouchWithEvent),
        method("continueTrackingWithTouch:withEvent:", &UIControl::continueTrackingWithTouchWithEvent),
        method("endTrackingWithTouch:withEvent:", &UIControl::endTrackingWithTouchWithEvent),
        method("cancelTrackingWithEvent:", &UIControl::cancelTrackingWithEvent),
        method("touchesBegan:withEvent:", &UIControl::touchesBeganWithEvent),
        method("touchesMoved:withEvent:", &UIControl::touchesMovedWithEvent),
        method("touchesEnded:withEvent:", &UIControl::touchesEndedWithEvent),
        method("touchesCancelled:withEvent:", &UIControl::touchesCancelledWithEvent),
    });
} // namespace
