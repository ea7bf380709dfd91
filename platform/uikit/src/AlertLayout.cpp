#include "uikit/AlertLayout.h"

#include <cmath>

namespace {
constexpr CGFloat kTopMargin = 20;
constexpr CGFloat kTitleMessageGap = 4;
constexpr CGFloat kTextBottomMargin = 20;
constexpr CGFloat kFieldGap = 8;
} // namespace

AlertLayout layoutAlert(const AlertLayoutInput& in) {
    AlertLayout out;
    CGFloat y = kTopMargin;
    if (in.titleHeight > 0) {
        out.title = CGRectMake(kAlertTextInset, y, kAlertTextWidth, in.titleHeight);
        y += in.titleHeight;
    }
    if (in.messageHeight > 0) {
        if (in.titleHeight > 0)
            y += kTitleMessageGap;
        out.message = CGRectMake(kAlertTextInset, y, kAlertTextWidth, in.messageHeight);
        y += in.messageHeight;
    }
    y += kTextBottomMargin - (in.textFieldCount > 0 ? kFieldGap : 0);
    for (int i = 0; i < in.textFieldCount; ++i) {
        out.textFields.push_back(CGRectMake(kAlertTextInset, y, kAlertTextWidth, kAlertTextFieldHeight));
        y += kAlertTextFieldHeight + (i + 1 < in.textFieldCount ? 0 : kFieldGap * 2);
    }
    out.buttonsTop = y;

    const int n = in.buttonCount;
    out.buttons.resize(size_t(n > 0 ? n : 0));
    const bool hasCancel = in.cancelButtonIndex >= 0 && in.cancelButtonIndex < n;
    if (n == 2) {
        // Side by side; the cancel button (when one of the two) on the left.
        const long left = hasCancel ? in.cancelButtonIndex : 0;
        out.buttons[size_t(left)] = CGRectMake(0, y, kAlertWidth / 2, kAlertButtonHeight);
        out.buttons[size_t(1 - left)] = CGRectMake(kAlertWidth / 2, y, kAlertWidth / 2, kAlertButtonHeight);
        y += kAlertButtonHeight;
    } else {
        for (int i = 0; i < n; ++i) {
            if (hasCancel && i == in.cancelButtonIndex)
                continue;
            out.buttons[size_t(i)] = CGRectMake(0, y, kAlertWidth, kAlertButtonHeight);
            y += kAlertButtonHeight;
        }
        if (hasCancel) {
            out.buttons[size_t(in.cancelButtonIndex)] = CGRectMake(0, y, kAlertWidth, kAlertButtonHeight);
            y += kAlertButtonHeight;
        }
    }
    // The accessory view shows under the buttons, as wide as the panel.
    if (in.hasAccessory) {
        out.accessory = CGRectMake(0, y, kAlertWidth, in.accessoryHeight);
        y += in.accessoryHeight;
    }
    const CGFloat height = y;
    out.panel = CGRectMake(std::round((in.screen.width - kAlertWidth) / 2),
                           std::round((in.screen.height - height) / 2), kAlertWidth, height);
    return out;
}
