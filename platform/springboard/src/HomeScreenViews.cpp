#include "springboard/HomeScreenViews.h"

#include "springboard/AppIcons.h"
#include "springboard/SpringBoardScreen.h"
#include "uikit/UIColor.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIWindow.h"

#include <cmath>

bool SBAppControl::beginTrackingWithTouchWithEvent(id touch, id) {
    start_ = msg<CGPoint>(touch, "locationInView:", nullptr);
    swipedUp = false;
    return true;
}

void SBAppControl::endTrackingWithTouchWithEvent(id touch, id) {
    const CGPoint end = msg<CGPoint>(touch, "locationInView:", nullptr);
    swipedUp = start_.y - end.y > frame().size.height / 3;
}

namespace {

// Draws an app's icon picture (its describer's drawing) in its bounds.
struct SBIconImageView : UIView {
    std::function<void(CGContextRef, CGFloat)> draw;
    void drawRect(CGRect rect) {
        CGContextRef ctx = UIGraphicsGetCurrentContext();
        if (draw) {
            draw(ctx, rect.size.width);
        } else {
            CGContextSetRGBFillColor(ctx, 0.6, 0.6, 0.62, 1);
            CGContextFillRect(ctx, rect);
        }
    }
};

struct SBWallpaperView : UIView {
    void drawRect(CGRect rect) { springboard::drawWallpaper(UIGraphicsGetCurrentContext(), rect.size); }
};

// The switcher's strip: a drag on a card scrolls it sideways.
struct SBSwitcherStrip : UIScrollView {
    bool touchesShouldCancelInContentView(id) { return true; }
};

const ClassDef<SBAppControl> kSBAppControl(
    "SBAppControl", "UIControl",
    {
        method("beginTrackingWithTouch:withEvent:", &SBAppControl::beginTrackingWithTouchWithEvent),
        method("endTrackingWithTouch:withEvent:", &SBAppControl::endTrackingWithTouchWithEvent),
    });
const ClassDef<SBIconImageView> kSBIconImageView("SBIconImageView", "UIView",
                                                 {method("drawRect:", &SBIconImageView::drawRect)});
const ClassDef<SBWallpaperView> kSBWallpaperView("SBWallpaperView", "UIView",
                                                 {method("drawRect:", &SBWallpaperView::drawRect)});
const ClassDef<SBSwitcherStrip> kSBSwitcherStrip(
    "SBSwitcherStrip", "UIScrollView",
    {method("touchesShouldCancelInContentView:", &SBSwitcherStrip::touchesShouldCancelInContentView)});

template <class T> Ref<T> make(CGRect frame) {
    return cast<T>(msg<id>(alloc<T>(), "initWithFrame:", frame));
}

id nameLabel(CGRect frame, const std::string& text, id color) {
    auto label = make<UILabel>(frame);
    msg(label, "setText:", text);
    msg(label, "setTextColor:", color);
    msg(label, "setTextAlignment:", NSInteger{NSTextAlignmentCenter});
    return label;
}

Ref<SBAppControl> appControl(CGRect frame, const std::string& bundleIdentifier, long tag, const id& target,
                             const char* action, NSUInteger events) {
    auto control = make<SBAppControl>(frame);
    control->bundleIdentifier = bundleIdentifier;
    msg(control, "setTag:", NSInteger{tag});
    msg(control, "addTarget:action:forControlEvents:", target, sel_registerName(action), events);
    return control;
}

} // namespace

namespace springboard {

id makeAppIconView(const SBAppDescription& app, CGFloat side) {
    auto icon = make<SBIconImageView>(CGRectMake(0, 0, side, side));
    icon->draw = app.drawIcon;
    msg(msg<id>(icon, "layer"), "setCornerRadius:", CGFloat{side * 0.22});
    msg(icon, "setClipsToBounds:", true);
    msg(icon, "setUserInteractionEnabled:", false);
    return icon;
}

id makeHomeScreenWindow(const std::vector<SBAppDescription>& apps, CGSize screen, const id& target) {
    id window = make<UIWindow>(CGRect{{0, 0}, screen});
    id wallpaper = make<SBWallpaperView>(CGRect{{0, 0}, screen});
    msg(wallpaper, "setUserInteractionEnabled:", false);
    msg(window, "addSubview:", wallpaper);
    // Four columns sharing the width; rows from below the status bar.
    const CGFloat column = screen.width / 4;
    constexpr CGFloat kTop = kStatusBarHeight + 14, kRow = 98;
    for (size_t i = 0; i < apps.size(); ++i) {
        const CGFloat x = column * CGFloat(i % 4), y = kTop + kRow * CGFloat(i / 4);
        auto control =
            appControl(CGRectMake(x, y, column, kIconSide + 26), apps[i].bundleIdentifier,
                       kHomeIconTagBase + long(i), target, "iconTapped:", UIControlEventTouchUpInside);
        id icon = makeAppIconView(apps[i], kIconSide);
        msg(icon, "setFrame:", CGRectMake((column - kIconSide) / 2, 0, kIconSide, kIconSide));
        msg(control, "addSubview:", icon);
        msg(control, "addSubview:",
            nameLabel(CGRectMake(0, kIconSide + 4, column, 21), apps[i].name, UIColor::white(1, 1)));
        msg(window, "addSubview:", control);
    }
    return window;
}

id makeSwitcherWindow(const std::vector<const SBAppDescription*>& running, CGSize screen, const id& target) {
    id window = make<UIWindow>(CGRect{{0, 0}, screen});
    msg(window, "setBackgroundColor:", UIColor::white(0.12, 1));
    const CGFloat cardWidth = std::floor(screen.width * 0.6), cardHeight = std::floor(screen.height * 0.6);
    const CGFloat step = std::floor(screen.width * 0.66), first = (screen.width - cardWidth) / 2;
    const CGFloat top = std::floor((screen.height - cardHeight) / 2);
    auto strip = make<SBSwitcherStrip>(CGRect{{0, 0}, screen});
    const CGFloat count = CGFloat(running.size());
    msg(strip, "setContentSize:",
        CGSize{running.empty() ? screen.width : 2 * first + cardWidth + step * (count - 1), screen.height});
    msg(window, "addSubview:", strip);
    if (running.empty())
        msg(window, "addSubview:",
            nameLabel(CGRectMake(0, screen.height / 2 - 10, screen.width, 21), "No Apps Running",
                      UIColor::white(0.7, 1)));
    for (size_t i = 0; i < running.size(); ++i) {
        const SBAppDescription& app = *running[i];
        const CGFloat x = first + step * CGFloat(i);
        auto card = appControl(CGRectMake(x, top, cardWidth, cardHeight), app.bundleIdentifier,
                               kSwitcherCardTagBase + long(i), target,
                               "cardTouched:", UIControlEventTouchUpInside | UIControlEventTouchUpOutside);
        msg(card, "setBackgroundColor:", UIColor::white(1, 1));
        msg(msg<id>(card, "layer"), "setCornerRadius:", CGFloat{10});
        id icon = makeAppIconView(app, kIconSide);
        msg(icon, "setFrame:",
            CGRectMake((cardWidth - kIconSide) / 2, cardHeight / 2 - kIconSide, kIconSide, kIconSide));
        msg(card, "addSubview:", icon);
        msg(card, "addSubview:",
            nameLabel(CGRectMake(0, cardHeight / 2 + 8, cardWidth, 21), app.name, UIColor::white(0, 1)));
        msg(strip, "addSubview:", card);
        auto close =
            appControl(CGRectMake(x - 12, top - 12, 30, 30), app.bundleIdentifier,
                       kSwitcherCloseTagBase + long(i), target, "closeTapped:", UIControlEventTouchUpInside);
        msg(close, "setBackgroundColor:", UIColor::white(0.3, 1));
        msg(msg<id>(close, "layer"), "setCornerRadius:", CGFloat{15});
        msg(msg<id>(close, "layer"), "setBorderWidth:", CGFloat{2});
        msg(msg<id>(close, "layer"), "setBorderColor:", CGColor{1, 1, 1, 1});
        msg(close, "addSubview:", nameLabel(CGRectMake(0, 4, 30, 21), "\u00D7", UIColor::white(1, 1)));
        msg(strip, "addSubview:", close);
    }
    return window;
}

} // namespace springboard
