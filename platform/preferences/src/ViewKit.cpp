#include "ViewKit.h"

#include "uikit/UILabel.h"

CGRect PSRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return CGRect{{x, y}, {width, height}};
}

id PSMakeView(const char* className, CGRect frame) {
    return msg<id>(msg<id>(classObject(objc_getClass(className)), "alloc"), "initWithFrame:", frame);
}

id PSColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return msg<id>(classObject(objc_getClass("UIColor")), "colorWithRed:green:blue:alpha:", red, green, blue,
                   alpha);
}

id PSMakeLabel(CGRect frame, const std::string& text, id textColor, NSInteger alignment) {
    id label = PSMakeView("UILabel", frame);
    msg(label, "setText:", text);
    msg(label, "setTextColor:", textColor);
    msg(label, "setTextAlignment:", alignment);
    msg(label, "setBackgroundColor:", msg<id>(classObject(objc_getClass("UIColor")), "clearColor"));
    return label;
}

CGFloat PSTextWidth(const std::string& text) {
    return labelTextSize(text, 0, 1).width;
}

namespace ps {
id tintColor() {
    return PSColor(0.0, 0.478, 1.0);
}
id disabledTextColor() {
    return PSColor(0.56, 0.56, 0.58);
}
id secondaryTextColor() {
    return PSColor(0.43, 0.43, 0.45);
}
id tableBackgroundColor() {
    return PSColor(0.937, 0.937, 0.957);
}
id separatorColor() {
    return PSColor(0.78, 0.78, 0.8);
}
} // namespace ps
