// A one-line text field: its text (typed by a host or a test through `setText:`), a placeholder
// shown in gray while the text is empty, a keyboard type, and secure entry shown as dots.
// Border style 3 (rounded rect) draws a light rounded border; the field in an alert uses it.
#pragma once

#include "uikit/UIControl.h"

#include <string>

struct UITextField : UIControl {
    std::string text() const { return text_; }
    void setText(std::string text);
    std::string placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    NSInteger keyboardType() const { return keyboardType_; }
    void setKeyboardType(NSInteger type) { keyboardType_ = type; }
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure);
    NSInteger borderStyle() const { return borderStyle_; }
    void setBorderStyle(NSInteger style);
    id textColor() const { return textColor_; }
    void setTextColor(id color);

    void paintContent(Painter& painter) override;

  private:
    std::string text_;
    std::string placeholder_;
    NSInteger keyboardType_ = 0;
    bool secure_ = false;
    NSInteger borderStyle_ = 0;
    id textColor_;
};
