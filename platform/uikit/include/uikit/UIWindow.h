// A window: the root of a screen's views, and the way touches enter them. A host, a test or the
// simulator drives one finger through the C++ calls below, with points in window (screen)
// coordinates. While alerts are shown the topmost alert takes every touch (a touch outside it
// goes nowhere); otherwise the window hit-tests to the topmost visible view that takes touches.
// The touched view keeps the touch until it lifts or is cancelled. Before a touch lands, the
// window (or the alert) lays out what needs it.
#pragma once

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

    // C++ side. touchDown answers whether a view took the touch; the others act on the touch
    // in progress, if any. A new touchDown first cancels a touch still in progress.
    bool touchDown(CGPoint point);
    void touchMove(CGPoint point);
    void touchUp(CGPoint point);
    void touchCancel();
    bool tap(CGPoint point);
    // The alerts shown over this window, oldest first (every shown alert unless a host with
    // several screens says which are this screen's).
    void setAlertSource(std::function<std::vector<Ref<UIAlertView>>()> source) {
        alertSource_ = std::move(source);
    }
    std::vector<Ref<UIAlertView>> alerts() const;

    static Ref<UIWindow> keyWindow();

  private:
    void deliver(SEL selector);

    Ref<UITouch> touch_;
    Ref<UIEvent> event_;
    std::function<std::vector<Ref<UIAlertView>>()> alertSource_;
};
