// Fonts by size: +systemFontOfSize:, +labelFontSize and -pointSize.
#include "uikit/UIFont.h"

#include <cmath>

Ref<UIFont> UIFont::ofSize(CGFloat pointSize) {
    auto font = alloc<UIFont>();
    font->pointSize_ = std::isfinite(pointSize) && pointSize > 0 ? pointSize : kLabelFontSize;
    return font;
}

CGFloat UIFont::pointSizeOf(const id& font) {
    auto f = cast<UIFont>(font);
    return f ? f->pointSize_ : kLabelFontSize;
}

namespace {
const ClassDef<UIFont> kUIFont(
    "UIFont", "NSObject",
    {
        classMethod("systemFontOfSize:", [](Object*, CGFloat size) -> id { return UIFont::ofSize(size); }),
        classMethod("labelFontSize", [](Object*) -> CGFloat { return kLabelFontSize; }),
        method("pointSize", &UIFont::pointSize),
    });
} // namespace
