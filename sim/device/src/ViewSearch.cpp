#include "ViewSearch.h"

#include "uikit/UILabel.h"

#include <cstdio>

namespace sim {

UIView* asView(const id& view) {
    return dynamic_cast<UIView*>(view.get());
}

CGRect frameOnScreen(const id& view) {
    UIView* v = asView(view);
    return v->convertRectToView(v->bounds(), nullptr);
}

CGPoint centerOnScreen(const id& view) {
    const CGRect f = frameOnScreen(view);
    return {f.origin.x + f.size.width / 2, f.origin.y + f.size.height / 2};
}

id findView(const id& root, const std::function<bool(const id&)>& match) {
    if (!root)
        return nullptr;
    if (match(root))
        return root;
    for (const id& sub : asView(root)->subviews())
        if (id found = findView(sub, match))
            return found;
    return nullptr;
}

std::vector<id> findViews(const id& root, const std::function<bool(const id&)>& match) {
    std::vector<id> out;
    findView(root, [&](const id& v) {
        if (match(v))
            out.push_back(v);
        return false;
    });
    return out;
}

std::string shownText(const id& view) {
    auto* label = dynamic_cast<UILabel*>(view.get());
    return label && !label->isHidden() ? label->text() : std::string();
}

bool handlesTouchesItself(const id& view) {
    static const Method* forwarding =
        objc_getClass("UIResponder")->lookup(SELECTOR("touchesBegan:withEvent:"));
    const Method* own = object_getClass(view.get())->lookup(SELECTOR("touchesBegan:withEvent:"));
    return own && own != forwarding;
}

int textFieldCount(const UIAlertView& alert) {
    switch (alert.alertViewStyle()) {
    case 1:
    case 2:
        return 1;
    case 3:
        return 2;
    default:
        return 0;
    }
}

std::string pointText(CGPoint p) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%g, %g)", double(p.x), double(p.y));
    return buf;
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string listed(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words)
        out += (out.empty() ? "" : ", ") + quoted(w);
    return out.empty() ? "none" : out;
}

} // namespace sim
