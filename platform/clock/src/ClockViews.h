// The Clock app's building blocks: its colors, plain views and labels made through messages,
// and the navigation bar every page has (status bar room, a title, a button on each side).
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

#include <string>

namespace clockapp {

inline constexpr CGFloat kStatusBarHeight = 20;
inline constexpr CGFloat kNavigationBarHeight = 64; // the status bar's room and the bar
inline constexpr CGFloat kMargin = 15;
inline constexpr CGFloat kCellHeight = 44;
inline constexpr CGFloat kGroupGap = 35;
inline constexpr CGFloat kListRowHeight = 88;

id tintColor();
id destructiveColor();
id separatorColor();
id groupedBackgroundColor();
id secondaryTextColor();
id barColor();

id makeView(CGRect frame, id backgroundColor = nullptr);
id makeLabel(CGRect frame, const std::string& text, id color, CGFloat fontSize = 17, NSInteger alignment = 0);
// A control that sends `action` (with itself as sender) to `target` when a finger lifts on it.
id makeTappable(CGRect frame, id target, const char* action, NSInteger tag = 0);
// A bar button: its title in the tint color, as wide as the title, sending `action`.
// `leading` places it at the bar's left edge, else at its right.
id makeBarButton(const std::string& title, CGFloat fontSize, bool leading, CGFloat screenWidth, id target,
                 const char* action, NSInteger tag);
// The navigation bar of a page, `screenWidth` wide.
id makeNavigationBar(const std::string& title, CGFloat screenWidth);
// A thin separator line.
id makeSeparator(CGFloat x, CGFloat y, CGFloat width);
// The width a text takes on one line at a size.
CGFloat textWidth(const std::string& text, CGFloat fontSize);

} // namespace clockapp
