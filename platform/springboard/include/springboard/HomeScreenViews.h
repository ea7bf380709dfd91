// The views of SpringBoard's home screen and app switcher, built from the installed apps.
//
// Home screen: the wallpaper and a grid of icons, four across from the top left, each a 60-point
// rounded picture with the app's name under it. Switcher: a dark screen with a strip of cards
// that scrolls sideways, one card for each running app (its icon and name on a white card, a
// close button at its top left corner).
//
// Icons, cards and close buttons are SBAppControls naming their app; they send their action to
// the given target on touch up: `iconTapped:` for an icon, `cardTouched:` for a card (inside or
// outside: a card whose finger went up by more than a third of its height was swiped away) and
// `closeTapped:` for a close button.
#pragma once

#include "objc/runtime.h"
#include "springboard/SBAppDescription.h"
#include "uikit/UIControl.h"

#include <string>
#include <vector>

struct SBAppControl : UIControl {
    std::string bundleIdentifier;
    bool swipedUp = false; // a card: the finger went up past the swipe distance
    CGPoint start_{};
    bool beginTrackingWithTouchWithEvent(id touch, id event);
    void endTrackingWithTouchWithEvent(id touch, id event);
};

namespace springboard {

inline constexpr CGFloat kIconSide = 60;
// Tags: icon i of the home screen, card i and close button i of the switcher (most recent first).
inline constexpr long kHomeIconTagBase = 4400;
inline constexpr long kSwitcherCardTagBase = 4500;
inline constexpr long kSwitcherCloseTagBase = 4600;

// The icon of an app: its picture with rounded corners (none drawn: a grey tile), `side` wide.
id makeAppIconView(const SBAppDescription& app, CGFloat side);
id makeHomeScreenWindow(const std::vector<SBAppDescription>& apps, CGSize screen, const id& target);
id makeSwitcherWindow(const std::vector<const SBAppDescription*>& running, CGSize screen, const id& target);

} // namespace springboard
