#include "uikit/UIWindow.h"

#include "uikit/UIAlertView.h"
#include "uikit/UIEvent.h"
#include "uikit/UIKitConstants.h"
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

void UIWindow::touchMove(CGPoint point) {
    if (!touch_)
        return;
    touch_->moveTo(point, UITouchPhaseMoved);
    deliver(SELECTOR("touchesMoved:withEvent:"));
}

void UIWindow::touchUp(CGPoint point) {
    if (!touch_)
        return;
    touch_->moveTo(point, UITouchPhaseEnded);
    deliver(SELECTOR("touchesEnded:withEvent:"));
    touch_.reset();
    event_.reset();
}

void UIWindow::touchCancel() {
    if (!touch_)
        return;
    touch_->moveTo(msg<CGPoint>(touch_, "locationInView:", nullptr), UITouchPhaseCancelled);
    deliver(SELECTOR("touchesCancelled:withEvent:"));
    touch_.reset();
    event_.reset();
}

std::vector<Ref<UIAlertView>> UIWindow::alerts() const {
    return alertSource_ ? alertSource_() : UIAlertView::shownAlerts();
}

bool UIWindow::tap(CGPoint point) {
    if (!touchDown(point))
        return false;
    touchUp(point);
    return true;
}

namespace {
const ClassDef<UIWindow>
    kUIWindow("UIWindow", "UIView",
              {
                  method("makeKeyAndVisible", &UIWindow::makeKeyAndVisible),
                  method("isKeyWindow", &UIWindow::isKeyWindow),
                  method("nextResponder", &UIWindow::nextResponder),
                  classMethod("keyWindow", [](Object*) -> id { return UIWindow::keyWindow(); }),
              });
} // namespace
