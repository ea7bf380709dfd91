#include "uikit/UIScreen.h"

Ref<UIScreen> UIScreen::main() {
    static Ref<UIScreen> screen = cast<UIScreen>(msg<id>(classObject(objc_getClass("UIScreen")), "new"));
    return screen;
}

void UIScreen::setMainScreen(CGSize size, CGFloat scale) {
    main()->bounds_ = {{0, 0}, size};
    main()->scale_ = scale;
}

namespace {
const ClassDef<UIScreen>
    kUIScreen("UIScreen", "NSObject",
              {
                  classMethod("mainScreen", [](Object*) -> id { return UIScreen::main(); }),
                  method("bounds", &UIScreen::bounds),
                  method("scale", &UIScreen::scale),
              });
} // namespace
