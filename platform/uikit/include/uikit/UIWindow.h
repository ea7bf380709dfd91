// A window: the root of a screen's views, and the way touches enter them. A host, a test or the
// simulator drives one finger through the C++ calls below, with points in window (screen)
// coordinates. While alerts are shown the topmost alert takes every touch (a touch outside it
// goes nowhere); otherwise the window hit-tests to the topmost visible view that takes touches.
// The touched view keeps the touch until it lifts or is cancelled. Before a touch lands, the
// window (or the alert) lays out what needs it.
//
// A touch that lands inside scroll views is also the scroll views' (UIScrollView.h): once its
// drag becomes a scroll, the touched view's touch is cancelled and the innermost scroll view
// that scrolls along the drag follows the finger. The wheel scrolls the scroll view under a
// point. Windows stack by `windowLevel` (0 normal, 1000 alert, 2000 status bar).
#pragma once

#include "uikit/ScrollPan.h"
#include "uikit/UIView.h"

#include <functional>
#include <vector>

struct UIAlertView;
struct UITouch;
struct UIEvent;

struct UIWindow : UIView {
    void makeKeyAndVisible();
    bool isKeyWindow() const;
    id nextResponder() { return nullptr; }

    CGFloat windowLevel() const { return windowLevel_; }
    void setWindowLevel(CGFloat level) { windowLevel_ = level; }

    // C++ side. touchDown answers whether a view took the touch; the others act on the touch
    // in progress, if any. A new touchDown first cancels a touch still in progress. touchUp
    // answers whether the touched view saw the finger lift (false when there was no touch, or a
    // scroll took it); a scroll view that took it is `scrolling()` until the finger lifts.
    bool touchDown(CGPoint point);
    void touchMove(CGPoint point);
    bool touchUp(CGPoint point);
    void touchCancel();
    bool tap(CGPoint point);
    id scrolling() const { return scrolling_; }
    // The wheel at a window point: scrolls the innermost scroll view under it that can move
    // along the delta (positive y shows content further down). Answers whether one moved.
    bool scrollWheel(CGPoint point, CGPoint delta);
    // The alerts shown over this window, oldest first (every shown alert unless a host with
    // several screens says which are this screen's).
    void setAlertSource(std::function<std::vector<Ref<UIAlertView>>()> source) {
        alertSource_ = std::move(source);
    }
    std::vector<Ref<UIAlertView>> alerts() const;

    static Ref<UIWindow> keyWindow();

  private:
    void deliver(SEL selector);
    // Offers a move to the scroll views under the touch; true when a scroll has the touch.
    bool panMoved(CGPoint point);
    void endTouch();

    CGFloat windowLevel_ = 0;
    Ref<UITouch> touch_;
    std::vector<weak_id> scrollViews_; // around the touched view, innermost first
    ScrollPan pan_;
    CGPoint touchStart_{};
    CGPoint scrollStart_{}; // where the finger was when the scroll began
    id scrolling_;
    Ref<UIEvent> event_;
    std::function<std::vector<Ref<UIAlertView>>()> alertSource_;
};
