#include "uikit/UITextField.h"

#include "Painter.h"
#include "uikit/UIKitConstants.h"

namespace {
constexpr NSInteger kBorderStyleRoundedRect = 3;
constexpr CGFloat kTextInset = 6;
constexpr CGColor kPlaceholderColor{0.7, 0.7, 0.72, 1};
constexpr CGColor kBorderColor{0.8, 0.8, 0.8, 1};

// One bullet (U+2022) per character of the text.
std::string dots(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            out += "\xE2\x80\xA2";
    }
    return out;
}
} // namespace

// Each setter redraws the field only when what it shows changes.

void UITextField::setText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    msg(this, "setNeedsDisplay");
}

void UITextField::setPlaceholder(std::string placeholder) {
    if (placeholder == placeholder_)
        return;
    placeholder_ = std::move(placeholder);
    msg(this, "setNeedsDisplay");
}

void UITextField::setSecureTextEntry(bool secure) {
    if (secure == secure_)
        return;
    secure_ = secure;
    msg(this, "setNeedsDisplay");
}

void UITextField::setBorderStyle(NSInteger style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    msg(this, "setNeedsDisplay");
}

void UITextField::setTextColor(id color) {
    const bool same =
        color == textColor_ || (color && textColor_ && msg<bool>(color, SELECTOR("isEqual:"), textColor_));
    textColor_ = std::move(color);
    if (!same)
        msg(this, "setNeedsDisplay");
}

void UITextField::paintContent(Painter& painter) {
    const CGRect b = bounds();
    if (borderStyle_ == kBorderStyleRoundedRect) {
        painter.fillRoundedRect(b, 5, {1, 1, 1, 1});
        painter.strokeRoundedRect(b, 5, 0.5, kBorderColor);
    }
    const CGRect textBox = CGRectInset(b, kTextInset, 0);
    if (CGRectIsNull(textBox))
        return;
    if (text_.empty()) {
        painter.drawText(placeholder_, textBox, NSTextAlignmentLeft, 1, kPlaceholderColor);
        return;
    }
    const CGColor color = textColor_ ? msg<CGColor>(textColor_, "CGColor") : CGColor{0, 0, 0, 1};
    painter.drawText(secure_ ? dots(text_) : text_, textBox, NSTextAlignmentLeft, 1, color);
}

namespace {
const ClassDef<UITextField> kUITextField("UITextField", "UIControl",
                                         {
                                             method("text", &UITextField::text),
                                             method("setText:", &UITextField::setText),
                                             method("placeholder", &UITextField::placeholder),
                                             method("setPlaceholder:", &UITextField::setPlaceholder),
                                             method("keyboardType", &UITextField::keyboardType),
                                             method("setKeyboardType:", &UITextField::setKeyboardType),
                                             method("isSecureTextEntry", &UITextField::isSecureTextEntry),
                                             method("setSecureTextEntry:", &UITextField::setSecureTextEntry),
                                             method("borderStyle", &UITextField::borderStyle),
                                             method("setBorderStyle:", &UITextField::setBorderStyle),
                                             method("textColor", &UITextField::textColor),
                                             method("setTextColor:", &UITextField::setTextColor),
                                         });
} // namespace
