// Where the parts of a shown alert lie: a panel 270 points wide, centered on the screen, with
// the title, the message, the text fields, the buttons and the accessory view (as wide as the
// panel) from top to bottom. Two buttons sit side by side, the cancel button on the left; any
// other number stack, the cancel button at the bottom. Pure arithmetic: text heights are
// measured by the caller at `alertTextWidth`.
#pragma once

#include "coregraphics/CGGeometry.h"

#include <vector>

inline constexpr CGFloat kAlertWidth = 270;
inline constexpr CGFloat kAlertTextInset = 16;
inline constexpr CGFloat kAlertTextWidth = kAlertWidth - 2 * kAlertTextInset;
inline constexpr CGFloat kAlertButtonHeight = 44;
inline constexpr CGFloat kAlertTextFieldHeight = 28;

struct AlertLayoutInput {
    CGSize screen;
    CGFloat titleHeight = 0;   // 0 without a title
    CGFloat messageHeight = 0; // 0 without a message
    int textFieldCount = 0;
    bool hasAccessory = false;
    CGFloat accessoryHeight = 0;
    int buttonCount = 0;
    long cancelButtonIndex = -1; // -1: none
};

struct AlertLayout {
    CGRect panel; // in screen coordinates; everything below is in the panel's
    CGRect title;
    CGRect message;
    std::vector<CGRect> textFields;
    CGRect accessory;
    CGFloat buttonsTop = 0;      // where the line above the buttons runs
    std::vector<CGRect> buttons; // by button index
};

AlertLayout layoutAlert(const AlertLayoutInput& in);
