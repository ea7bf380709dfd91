#include "uikit/UIEvent.h"

std::vector<id> UIEvent::touchesForView(id view) const {
    std::vector<id> out;
    if (!view)
        return out;
    for (const id& touch : touches_) {
        if (msg<bool>(msg<id>(touch, SELECTOR("view")), SELECTOR("isDescendantOfView:"), view))
            out.push_back(touch);
    }
    return out;
}

std::vector<id> UIEvent::touchesForWindow(id window) const {
    std::vector<id> out;
    for (const id& touch : touches_) {
        if (window && msg<id>(touch, "window") == window)
            out.push_back(touch);
    }
    return out;
}

namespace {
const ClassDef<UIEvent> kUIEvent("UIEvent", "NSObject",
                                 {
                                     method("allTouches", &UIEvent::allTouches),
                                     method("touchesForView:", &UIEvent::touchesForView),
                                     method("touchesForWindow:", &UIEvent::touchesForWindow),
                                 });
} // namespace
