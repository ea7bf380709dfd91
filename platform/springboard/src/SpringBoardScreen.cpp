#include "springboard/SpringBoardScreen.h"

#include "uikit/UIColor.h"
#include "uikit/UIImageView.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIButton.h"
#include "uikit/UILabel.h"
#include "uikit/UISlider.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

#include <cmath>
#include <cstdio>

namespace springboard {

namespace {

template <class T> id viewOf(CGRect frame, const id& background) {
    id v = msg<id>(alloc<T>(), "initWithFrame:", frame);
    if (background)
        msg(v, "setBackgroundColor:", background);
    return v;
}

id label(CGRect frame, const std::string& text, const id& color, NSInteger alignment) {
    id l = viewOf<UILabel>(frame, nullptr);
    msg(l, "setText:", text);
    msg(l, "setTextColor:", color);
    msg(l, "setTextAlignment:", alignment);
    return l;
}

// The lock screen's ringing alarm: its title, a Snooze button when it can snooze, and the
// slider's words.
void addFullscreenAlarm(const id& screen, CGFloat width, const ScreenState& state) {
    const id white = UIColor::white(1, 1);
    id panel = viewOf<UIView>(CGRectMake(0, 150, width, 90), UIColor::white(0, 0.6));
    msg(panel, "addSubview:",
        label(CGRectMake(10, 10, width - 20, 30), "Alarm", UIColor::white(0.7, 1), NSTextAlignmentCenter));
    msg(panel, "addSubview:",
        label(CGRectMake(10, 45, width - 20, 30), *state.fullscreenAlarm, white, NSTextAlignmentCenter));
    msg(screen, "addSubview:", panel);
    if (state.canSnooze) {
        id snooze = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", UIButtonTypeCustom);
        msg(snooze, "setFrame:", CGRectMake(40, 380, width - 80, 44));
        msg(snooze, "setBackgroundColor:", UIColor::rgba(1, 0.58, 0, 1));
        msg(msg<id>(snooze, "layer"), "setCornerRadius:", CGFloat{8});
        msg(snooze, "setTitle:forState:", std::string("Snooze"), UIControlStateNormal);
        msg(snooze, "setTitleColor:forState:", white, UIControlStateNormal);
        msg(snooze, "setTitleColor:forState:", UIColor::white(1, 0.4), UIControlStateHighlighted); // pressed
        msg(snooze, "setTag:", NSInteger{kLockScreenSnoozeTag});
        msg(screen, "addSubview:", snooze);
    }
    id slide = viewOf<UISlider>(CGRectMake(20, 505, width - 40, 40), nullptr);
    msg(slide, "setTag:", NSInteger{kLockScreenSlideTag});
    msg(screen, "addSubview:", slide);
    id words = label(CGRectMake(0, 475, width, 30), "slide to stop", white, NSTextAlignmentCenter);
    msg(words, "setUserInteractionEnabled:", false);
    msg(screen, "addSubview:", words);
}

} // namespace

std::string clockText(NSDate now, double utcOffset) {
    const double local = now.timeIntervalSinceReferenceDate + utcOffset;
    long minutes = static_cast<long>(std::floor(local / 60.0)) % (24 * 60);
    if (minutes < 0)
        minutes += 24 * 60;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02ld:%02ld", minutes / 60, minutes % 60);
    return buf;
}

std::string statusBarImagePath(const std::string& imageName, StatusBarStyle style) {
    std::string path = "/System/Library/Frameworks/UIKit.framework/";
    path += style == StatusBarStyle::Dark ? "White_" : "Black_";
    path += imageName;
    path += ".png";
    return path;
}

id makeStatusBarView(const ScreenState& state, StatusBarStyle style) {
    const CGFloat width = UIScreen::main()->bounds().size.width;
    const bool dark = style == StatusBarStyle::Dark;
    const id content = UIColor::white(dark ? 1 : 0, 1);
    id bar = viewOf<UIView>(CGRectMake(0, 0, width, kStatusBarHeight), UIColor::white(dark ? 0 : 0.97, 1));
    msg(bar, "addSubview:",
        label(CGRectMake(0, 0, width, kStatusBarHeight), clockText(state.now, state.utcOffset), content,
              NSTextAlignmentCenter));
    CGFloat right = width - 4;
    for (auto it = state.items.rbegin(); it != state.items.rend(); ++it) {
        if (!it->visible || it->imageName.empty())
            continue;
        id image = msg<id>(classObject(objc_getClass("UIImage")),
                           "imageNamed:", statusBarImagePath(it->imageName, style));
        if (!image)
            continue;
        const CGSize size = msg<CGSize>(image, "size");
        id view = msg<id>(alloc<UIImageView>(), "initWithImage:", image);
        msg(view, "setFrame:",
            CGRectMake(right - size.width, (kStatusBarHeight - size.height) / 2, size.width, size.height));
        msg(bar, "addSubview:", view);
        right -= size.width + 6;
    }
    return bar;
}

std::string statusBarContent(const ScreenState& state, StatusBarStyle style) {
    std::string content = style == StatusBarStyle::Dark ? "dark " : "light ";
    content += clockText(state.now, state.utcOffset);
    for (const StatusBarItem& item : state.items)
        if (item.visible && !item.imageName.empty())
            content += '\x1f' + item.imageName;
    return content;
}

id makeScreenWindow(const ScreenState& state) {
    const CGRect bounds = UIScreen::main()->bounds();
    const CGFloat width = bounds.size.width;
    id window =
        viewOf<UIWindow>(bounds, state.locked ? UIColor::white(0.05, 1) : UIColor::rgba(0.16, 0.27, 0.42, 1));
    if (state.locked) {
        msg(window, "addSubview:",
            label(CGRectMake(0, 60, width, 40), clockText(state.now, state.utcOffset), UIColor::white(1, 1),
                  NSTextAlignmentCenter));
        if (state.fullscreenAlarm)
            addFullscreenAlarm(window, width, state);
    }
    msg(window, "addSubview:", makeStatusBarView(state));
    return window;
}

} // namespace springboard
