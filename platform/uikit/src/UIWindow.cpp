#include "uikit/UIWindow.h"

#include "uikit/UIAlertView.h"
#include "uikit/UIEvent.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIScrollView.h"
#include "uikit/UITouch.h"

namespace {
std::weak_ptr<UIWindow>& keyWindowSlot() {
    static std::weak_ptr<UIWindow> slot;
    return slot;
}
} // namespace

void UIWindow::makeKeyAndVisible() {
    keyWindowSlot() = selfAs<UIWindow>();
    msg(this, "setHidden:", false);
}

bool UIWindow::isKeyWindow() const {
    return keyWindowSlot().lock().get() == this;
}

Ref<UIWindow> UIWindow::keyWindow() {
    return keyWindowSlot().lock();
}

bool UIWindow::touchDown(CGPoint point) {
    if (touch_)
        touchCancel();
    event_ = cast<UIEvent>(msg<id>(classObject(objc_getClass("UIEvent")), "new"));
    id root = self();
    const auto shown = alerts();
    if (!shown.empty())
        root = shown.back();
    msg(root, "layoutIfNeeded");
    const CGPoint local = msg<CGPoint>(root, "convertPoint:fromView:", point, nullptr);
    id target = msg<id>(root, "hitTest:withEvent:", local, id(event_));
    if (!target) {
        event_.reset();
        return false;
    }
    touch_ = cast<UITouch>(msg<id>(classObject(objc_getClass("UITouch")), "new"));
    touch_->begin(target, self(), point);
    scrollViews_.clear();
    for (id v = target; v; v = msg<id>(v, "superview"))
        if (dynamic_cast<UIScrollView*>(v.get()))
            scrollViews_.push_back(v);
    pan_ = ScrollPan{};
    touchStart_ = point;
    event_->setTouches({touch_});
    deliver(SELECTOR("touchesBegan:withEvent:"));
    return true;
}

void UIWindow::deliver(SEL selector) {
    if (!touch_)
        return;
    id keepTouch = touch_;
    id keepEvent = event_;
    msg(touch_->view(), selector, std::vector<id>{keepTouch}, keepEvent);
}

bool UIWindow::panMoved(CGPoint point) {
    if (scrolling_) {
        cast<UIScrollView>(scrolling_)->dragTo({point.x - scrollStart_.x, point.y - scrollStart_.y});
        return true;
    }
    if (scrollViews_.empty() || pan_.state() == ScrollPan::State::Failed)
        return false;
    const CGPoint moved{point.x - touchStart_.x, point.y - touchStart_.y};
    // The innermost scroll view that scrolls along the drag takes it, when it may take the
    // touch from the touched view.
    id taker;
    for (const weak_id& weak : scrollViews_) {
        id v = weak.lock();
        auto* scroll = dynamic_cast<UIScrollView*>(v.get());
        if (!scroll)
            continue;
        ScrollPan probe = pan_;
        const auto state = probe.moved(moved, scroll->canScrollHorizontally(), scroll->canScrollVertically());
        if (state == ScrollPan::State::Possible)
            return false; // still within the slop
        const bool mayTake =
            touch_->view() == v || (msg<bool>(v, "canCancelContentTouches") &&
                                    msg<bool>(v, "touchesShouldCancelInContentView:", touch_->view()));
        if (state == ScrollPan::State::Began && mayTake) {
            taker = v;
            break;
        }
    }
    pan_.moved(moved, taker != nullptr, taker != nullptr); // decided: began or failed for good
    if (!taker)
        return false;
    touch_->moveTo(point, UITouchPhaseCancelled);
    deliver(SELECTOR("touchesCancelled:withEvent:"));
    scrolling_ = taker;
    scrollStart_ = point;
    cast<UIScrollView>(taker)->beginDragging();
    return true;
}

void UIWindow::touchMove(CGPoint point) {
    if (!touch_)
        return;
    id keep = self();
    if (panMoved(point))
        return;
    touch_->moveTo(point, UITouchPhaseMoved);
    deliver(SELECTOR("touchesMoved:withEvent:"));
}

void UIWindow::endTouch() {
    if (scrolling_)
        cast<UIScrollView>(scrolling_)->endDragging();
    scrolling_.reset();
    scrollViews_.clear();
    touch_.reset();
    event_.reset();
}

bool UIWindow::touchUp(CGPoint point) {
    if (!touch_)
        return false;
    id keep = self();
    const bool seen = !scrolling_;
    if (scrolling_) {
        panMoved(point);
    } else {
        touch_->moveTo(point, UITouchPhaseEnded);
        deliver(SELECTOR("touchesEnded:withEvent:"));
    }
    endTouch();
    return seen;
}

void UIWindow::touchCancel() {
    if (!touch_)
        return;
    id keep = self();
    if (!scrolling_) {
        touch_->moveTo(msg<CGPoint>(touch_, "locationInView:", nullptr), UITouchPhaseCancelled);
        deliver(SELECTOR("touchesCancelled:withEvent:"));
    }
    endTouch();
}

bool UIWindow::scrollWheel(CGPoint point, CGPoint delta) {
    if (!alerts().empty())
        return false; // an alert shown over the window holds it still
    msg(this, "layoutIfNeeded");
    const CGPoint local = msg<CGPoint>(this, "convertPoint:fromView:", point, nullptr);
    for (id v = msg<id>(this, "hitTest:withEvent:", local, nullptr); v; v = msg<id>(v, "superview")) {
        auto* scroll = dynamic_cast<UIScrollView*>(v.get());
        if (scroll && ((delta.y != 0 && scroll->canScrollVertically()) ||
                       (delta.x != 0 && scroll->canScrollHorizontally())))
            return scroll->scrollBy(delta);
    }
    return false;
}

std::vector<Ref<UIAlertView>> UIWindow::alerts() const {
    return alertSource_ ? alertSource_() : UIAlertView::shownAlerts();
}

bool UIWindow::tap(CGPoint point) {
    if (!touchDown(point))
        return false;
    return touchUp(point);
}

namespace {
const ClassDef<UIWindow>
    kUIWindow("UIWindow", "UIView",
              {
                  method("makeKeyAndVisible", &UIWindow::makeKeyAndVisible),
                  method("isKeyWindow", &UIWindow::isKeyWindow),
                  method("windowLevel", &UIWindow::windowLevel),
                  method("setWindowLevel:", &UIWindow::setWindowLevel),
                  method("nextResponder", &UIWindow::nextResponder),
                  classMethod("keyWindow", [](Object*) -> id { return UIWindow::keyWindow(); }),
              });
} // namespace
