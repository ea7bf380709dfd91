// The windows of one display, composited by level: each window is drawn at its frame, lower
// `windowLevel` first, of equal levels the one listed later on top; hidden windows show nothing
// and take nothing. Alerts (the display's alert source, none by default) come over every
// window, dimming them, and take every touch while shown (one outside an alert goes nowhere).
// Otherwise a touch goes to the topmost window that takes it (whose hit test finds a view), and
// stays with that window until the finger lifts; the wheel likewise.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UISnapshot.h"

#include <functional>
#include <string>
#include <vector>

struct UIAlertView;

class UIWindowStack {
  public:
    explicit UIWindowStack(CGSize size);
    UIWindowStack(const UIWindowStack&) = delete;
    UIWindowStack& operator=(const UIWindowStack&) = delete;

    // The display's windows, in any order; a touch in progress stays with its window.
    void setWindows(std::vector<id> windows);
    // The shown windows, bottom to top.
    std::vector<id> orderedWindows() const;
    void setAlertSource(std::function<std::vector<Ref<UIAlertView>>()> source);
    std::vector<Ref<UIAlertView>> alerts() const;

    // Points are display points (a window's frame places it on the display). touchDown answers whether a
    // window took the touch; touchUp answers what the window's touchUp answered (false when a scroll took the
    // touch).
    bool touchDown(CGPoint point);
    void touchMove(CGPoint point);
    bool touchUp(CGPoint point);
    void touchCancel();
    bool tap(CGPoint point);
    bool scrollWheel(CGPoint point, CGPoint delta);
    // The window the touch in progress went to (the alert layer's while an alert takes it).
    id touchedWindow() const { return touched_; }

    SnapshotImage render(double scale) const;
    bool write(const std::string& hostPngPath, double scale) const;
    CGSize size() const { return size_; }

  private:
    CGSize size_;
    std::vector<id> windows_;
    std::function<std::vector<Ref<UIAlertView>>()> alertSource_;
    id alertLayer_; // a clear window over all, through which alerts take touches
    id touched_;
};
