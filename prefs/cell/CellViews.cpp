#include "cell/CellViews.h"

#include "foundation/PlistValue.h"
#include "uikit/UIKitConstants.h"

namespace {
id newView(const char* className, const CellFrame& frame) {
    return msg<id>(msg<id>(classObject(objc_getClass(className)), "alloc"), "initWithFrame:", cgRect(frame));
}
} // namespace

CGRect cgRect(const CellFrame& f) {
    return CGRect{{f.x, f.y}, {f.width, f.height}};
}

id namedColor(const char* factory) {
    return msg<id>(classObject(objc_getClass("UIColor")), factory);
}

id rgbColor(double r, double g, double b, double alpha) {
    return msg<id>(classObject(objc_getClass("UIColor")), "colorWithRed:green:blue:alpha:", CGFloat{r},
                   CGFloat{g}, CGFloat{b}, CGFloat{alpha});
}

id colorOfChannels(ColorChannels c, double alpha) {
    return rgbColor(c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

id makeLabel(const CellFrame& frame, const std::string& text, id textColor, NSInteger alignment) {
    id label = newView("UILabel", frame);
    msg(label, "setNumberOfLines:", NSInteger{1});
    msg(label, "setText:", text);
    msg(label, "setBackgroundColor:", namedColor("clearColor"));
    msg(label, "setTextColor:", textColor);
    msg(label, "setTextAlignment:", alignment);
    return label;
}

id makeTintedButton(const CellFrame& frame, const id& target, const char* action, NSUInteger autoresizing) {
    id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", UIButtonTypeSystem);
    msg(button, "setFrame:", cgRect(frame));
    msg(button, "setTitle:forState:", std::string(), UIControlStateNormal);
    msg(button, "addTarget:action:forControlEvents:", target, sel_registerName(action),
        UIControlEventTouchUpInside);
    msg(button, "setBackgroundColor:", rgbColor(0, 0, 0, 0.04));
    msg(msg<id>(button, "layer"), "setCornerRadius:", CGFloat{5});
    msg(button, "setAutoresizingMask:", autoresizing);
    return button;
}

std::optional<std::string> specifierString(const id& specifier, const char* key) {
    const PlistValue value = msg<PlistValue>(specifier, "propertyForKey:", std::string(key));
    if (!value.isString())
        return std::nullopt;
    return value.asString();
}
