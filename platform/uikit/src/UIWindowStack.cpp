#include "uikit/UIWindowStack.h"

#include "uikit/UIAlertView.h"
#include "uikit/UIWindow.h"

#include <algorithm>

UIWindowStack::UIWindowStack(CGSize size) : size_(size) {
    alertLayer_ = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                          "initWithFrame:", CGRect{{0, 0}, size});
    static_cast<UIWindow*>(alertLayer_.get())->setAlertSource([this] { return alerts(); });
}

void UIWindowStack::setWindows(std::vector<id> windows) {
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [](const id& w) { return !dynamic_cast<UIWindow*>(w.get()); }),
                  windows.end());
    windows_ = std::move(windows);
}

std::vector<id> UIWindowStack::orderedWindows() const {
    std::vector<id> shown;
    for (const id& w : windows_)
        if (!msg<bool>(w, "isHidden"))
            shown.push_back(w);
    std::stable_sort(shown.begin(), shown.end(), [](const id& a, const id& b) {
        return msg<CGFloat>(a, "windowLevel") < msg<CGFloat>(b, "windowLevel");
    });
    return shown;
}

void UIWindowStack::setAlertSource(std::function<std::vector<Ref<UIAlertView>>()> source) {
    alertSource_ = std::move(source);
}

std::vector<Ref<UIAlertView>> UIWindowStack::alerts() const {
    return alertSource_ ? alertSource_() : std::vector<Ref<UIAlertView>>{};
}

bool UIWindowStack::touchDown(CGPoint point) {
    touchCancel();
    if (!alerts().empty()) {
        if (!static_cast<UIWindow*>(alertLayer_.get())->touchDown(point))
            return false;
        touched_ = alertLayer_;
        return true;
    }
    const std::vector<id> shown = orderedWindows();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        msg(*it, "layoutIfNeeded");
        if (!msg<id>(*it, "hitTest:withEvent:", msg<CGPoint>(*it, "convertPoint:fromView:", point, nullptr),
                     nullptr))
            continue;
        if (static_cast<UIWindow*>(it->get())->touchDown(point)) {
            touched_ = *it;
            return true;
        }
        return false; // the window took the point but no view the touch
    }
    return false;
}

void UIWindowStack::touchMove(CGPoint point) {
    if (touched_)
        static_cast<UIWindow*>(touched_.get())->touchMove(point);
}

bool UIWindowStack::touchUp(CGPoint point) {
    if (!touched_)
        return false;
    id window = touched_;
    touched_.reset();
    return static_cast<UIWindow*>(window.get())->touchUp(point);
}

void UIWindowStack::touchCancel() {
    if (!touched_)
        return;
    id window = touched_;
    touched_.reset();
    static_cast<UIWindow*>(window.get())->touchCancel();
}

bool UIWindowStack::tap(CGPoint point) {
    return touchDown(point) && touchUp(point);
}

bool UIWindowStack::scrollWheel(CGPoint point, CGPoint delta) {
    if (!alerts().empty())
        return false;
    const std::vector<id> shown = orderedWindows();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        if (msg<id>(*it, "hitTest:withEvent:", msg<CGPoint>(*it, "convertPoint:fromView:", point, nullptr),
                    nullptr))
            return static_cast<UIWindow*>(it->get())->scrollWheel(point, delta);
    }
    return false;
}

SnapshotImage UIWindowStack::render(double scale) const {
    return UISnapshotRenderWindows(orderedWindows(), alerts(), size_, scale);
}

bool UIWindowStack::write(const std::string& hostPngPath, double scale) const {
    return UISnapshotWriteWindows(orderedWindows(), alerts(), size_, hostPngPath, scale);
}
