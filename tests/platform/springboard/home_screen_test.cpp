// SpringBoard's home screen, its apps and its one display: icons open apps full screen, the
// home button sends them to the background, the switcher resumes or closes them, the status bar
// stays on top, alerts and the lock screen come over the app in front.
#include "SpringBoardTestSupport.h"

#include "springboard/AppIcons.h"
#include "springboard/HomeScreenViews.h"
#include "springboard/SpringBoardApps.h"
#include "springboard/SpringBoardDisplay.h"
#include "springboard/SpringBoardEvents.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIColor.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace sbtest;

// A running test app: a white window with a counter button at its top (under the status bar).
struct CounterTarget : NSObject {
    int taps = 0;
    void count() { ++taps; }
};
const ClassDef<CounterTarget> kCounterTarget("TestCounterTarget", "NSObject",
                                             {method("count", &CounterTarget::count)});

std::map<std::string, int> launches;

struct CounterApp : SBAppInstance {
    id window_;
    Ref<CounterTarget> counter =
        cast<CounterTarget>(msg<id>(classObject(objc_getClass("TestCounterTarget")), "new"));
    explicit CounterApp(CGSize screen) {
        window_ = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                          "initWithFrame:", CGRect{{0, 0}, screen});
        msg(window_, "setBackgroundColor:", UIColor::white(1, 1));
        id button = msg<id>(msg<id>(classObject(objc_getClass("UIControl")), "alloc"),
                            "initWithFrame:", CGRectMake(0, 0, screen.width, 60));
        msg(button, "addTarget:action:forControlEvents:", counter, SELECTOR("count"),
            UIControlEventTouchUpInside);
        msg(window_, "addSubview:", button);
    }
    id window() override { return window_; }
};

SBAppDescription counterApp(const std::string& identifier, const std::string& name) {
    auto icon = name == "Settings" ? springboard::drawSettingsIcon : springboard::drawClockIcon;
    return {identifier, name, icon, [identifier](CGSize screen) {
                ++launches[identifier];
                return std::make_unique<CounterApp>(screen);
            }};
}

struct Phone : BootedDevice {
    SpringBoardApps apps{CGSize{320, 568}};
    SpringBoardDisplay display{host, apps};
    Phone() {
        launches.clear();
        apps.install(counterApp("com.example.clock", "Clock"));
        apps.install(counterApp("com.example.settings", "Settings"));
        apps.install({"com.example.broken", "Broken", nullptr,
                      [](CGSize) { return std::unique_ptr<SBAppInstance>(); }});
    }
    // The center of a view of the display's front window, by tag.
    CGPoint centerOf(long tag) {
        display.refresh();
        id view = msg<id>(display.windows().front(), "viewWithTag:", NSInteger{tag});
        EXPECT_TRUE(view) << tag;
        if (!view)
            return {-1, -1};
        const CGRect b = msg<CGRect>(view, "bounds");
        return msg<CGPoint>(view, "convertPoint:toView:", CGPoint{b.size.width / 2, b.size.height / 2},
                            nullptr);
    }
    bool tapIcon(size_t i) { return display.tap(centerOf(springboard::kHomeIconTagBase + long(i))); }
    int counted(const std::string& identifier) {
        auto* app = dynamic_cast<CounterApp*>(apps.instance(identifier));
        return app ? app->counter->taps : -1;
    }
};

TEST(HomeScreen, IconsStandInRowsOfFourWithTheirNames) {
    Phone p;
    for (int i = 0; i < 3; ++i)
        p.apps.install(counterApp("com.example.more" + std::to_string(i), "More"));
    id home = p.apps.homeScreenWindow();
    const struct {
        long index;
        CGRect frame;
        const char* name;
    } cases[] = {{0, CGRectMake(0, 34, 80, 86), "Clock"},
                 {1, CGRectMake(80, 34, 80, 86), "Settings"},
                 {3, CGRectMake(240, 34, 80, 86), "More"},
                 {4, CGRectMake(0, 132, 80, 86), "More"}};
    for (const auto& c : cases) {
        id icon = msg<id>(home, "viewWithTag:", NSInteger{springboard::kHomeIconTagBase + c.index});
        ASSERT_TRUE(icon) << c.index;
        EXPECT_EQ(msg<CGRect>(icon, "frame"), c.frame) << c.index;
        bool named = false;
        for (const id& sub : msg<std::vector<id>>(icon, "subviews"))
            named = named || (respondsToSelector(sub.get(), SELECTOR("text")) &&
                              msg<std::string>(sub, "text") == c.name);
        EXPECT_TRUE(named) << c.index;
    }
    EXPECT_FALSE(msg<id>(home, "viewWithTag:", NSInteger{springboard::kHomeIconTagBase + 6}));
    // The Clock icon's white face on the wallpaper, under a see-through status bar.
    const SnapshotImage shot = p.display.render(1);
    const auto face = shot.at(40, 34 + 45), wallpaper = shot.at(40, 34 + 75 + 30), bar = shot.at(2, 10);
    EXPECT_EQ(face.r + face.g + face.b, 3 * 255);
    EXPECT_LT(wallpaper.r, 200);
    EXPECT_LT(bar.g, 100);
    EXPECT_GT(bar.b, 60); // the wallpaper's blue, not a black bar
}

TEST(HomeScreen, AppsOpenFromTheirIconsAndResumeAsLeftAfterTheHomeButton) {
    Phone p;
    EXPECT_EQ(p.display.inFront(), "home");
    ASSERT_TRUE(p.tapIcon(0));
    EXPECT_EQ(p.display.inFront(), "com.example.clock");
    ASSERT_TRUE(p.display.tap({100, 30})); // under the status bar: the app's button
    ASSERT_TRUE(p.display.tap({100, 30}));
    EXPECT_EQ(p.counted("com.example.clock"), 2);
    p.apps.pressHome();
    EXPECT_EQ(p.display.inFront(), "home");
    EXPECT_TRUE(p.apps.isRunning("com.example.clock"));
    ASSERT_TRUE(p.tapIcon(1));
    ASSERT_TRUE(p.display.tap({100, 30}));
    p.apps.pressHome();
    ASSERT_TRUE(p.tapIcon(0));
    EXPECT_EQ(p.counted("com.example.clock"), 2); // as it was left
    EXPECT_EQ(launches["com.example.clock"], 1);
    EXPECT_EQ(p.apps.running(), (std::vector<std::string>{"com.example.clock", "com.example.settings"}));
    EXPECT_EQ(
        events({sbevent::kAppLaunched, sbevent::kAppResumed}),
        (std::vector<std::string>{"app launched: Clock", "app launched: Settings", "app resumed: Clock"}));
    // An app that does not launch leaves the home screen in front.
    p.apps.pressHome();
    EXPECT_FALSE(p.apps.open("com.example.broken"));
    EXPECT_FALSE(p.apps.open("com.example.none"));
    EXPECT_EQ(p.display.inFront(), "home");
}

TEST(HomeScreen, TheSwitcherResumesOrClosesAppsAndAClosedAppStartsAfresh) {
    // How the card of the app used most recently (Settings) is touched, and what follows.
    const struct {
        const char* name;
        bool closeButton;
        CGFloat fingerUp; // how far the finger goes up on the card
        std::string front;
        bool stillRunning;
    } cases[] = {
        {"TapOpens", false, 0, "com.example.settings", true},
        {"SwipeUpCloses", false, 200, "switcher", false},
        {"ShortSwipeOpens", false, 40, "com.example.settings", true},
        {"CloseButton", true, 0, "switcher", false},
    };
    for (const auto& c : cases) {
        Phone p;
        ASSERT_TRUE(p.tapIcon(0));
        p.apps.pressHome();
        ASSERT_TRUE(p.tapIcon(1));
        ASSERT_TRUE(p.display.tap({100, 30}));
        p.apps.showSwitcher();
        EXPECT_EQ(p.display.inFront(), "switcher") << c.name;
        const CGPoint at = p.centerOf(c.closeButton ? springboard::kSwitcherCloseTagBase
                                                    : springboard::kSwitcherCardTagBase);
        p.display.touchDown(at);
        for (int i = 1; i <= 10; ++i)
            p.display.touchMove({at.x, at.y - c.fingerUp * i / 10});
        p.display.touchUp({at.x, at.y - c.fingerUp});
        EXPECT_EQ(p.display.inFront(), c.front) << c.name;
        EXPECT_EQ(p.apps.isRunning("com.example.settings"), c.stillRunning) << c.name;
        EXPECT_TRUE(p.apps.isRunning("com.example.clock")) << c.name;
        p.apps.pressHome();
        ASSERT_TRUE(p.tapIcon(1));
        EXPECT_EQ(p.counted("com.example.settings"), c.stillRunning ? 1 : 0) << c.name;
        EXPECT_EQ(launches["com.example.settings"], c.stillRunning ? 1 : 2) << c.name;
    }
}

TEST(HomeScreen, TheSwitcherStripScrollsSidewaysAndClosingTheFrontAppShowsHome) {
    Phone p;
    for (int i = 0; i < 3; ++i)
        p.apps.install(counterApp("com.example.more" + std::to_string(i), "More"));
    for (size_t i : {0, 1, 3, 4, 5}) {
        ASSERT_TRUE(p.tapIcon(i));
        p.apps.pressHome();
    }
    p.apps.showSwitcher();
    const CGPoint card = p.centerOf(springboard::kSwitcherCardTagBase);
    p.display.touchDown(card);
    for (int i = 1; i <= 20; ++i)
        p.display.touchMove({card.x - 10.0 * i, card.y});
    EXPECT_FALSE(p.display.touchUp({card.x - 200, card.y})); // the strip took it: no app opened
    EXPECT_EQ(p.display.inFront(), "switcher");
    EXPECT_EQ(p.apps.running().size(), 5u);
    // Closing the app in front.
    ASSERT_TRUE(p.apps.open("com.example.clock"));
    EXPECT_TRUE(p.apps.close("com.example.clock"));
    EXPECT_EQ(p.display.inFront(), "home");
    EXPECT_FALSE(p.apps.close("com.example.clock"));
    EXPECT_TRUE(hasEvent(sbevent::kAppClosed, "Clock"));
}

TEST(HomeScreen, TheStatusBarStaysOnTopAndAlertsAndTheLockScreenComeOverTheApp) {
    Phone p;
    ASSERT_TRUE(p.tapIcon(0));
    const SnapshotImage shot = p.display.render(1);
    EXPECT_NEAR(shot.at(2, 10).r, 247, 2); // the light bar over the app's white page
    ASSERT_EQ(p.display.windows().size(), 2u);
    EXPECT_EQ(msg<CGFloat>(p.display.windows().back(), "windowLevel"), kStatusBarWindowLevel);
    ASSERT_TRUE(p.display.tap({100, 10})); // the bar takes no touch: the app's button does
    EXPECT_EQ(p.counted("com.example.clock"), 1);

    // An alert over the app takes the touch.
    id alert = msg<id>(msg<id>(classObject(objc_getClass("UIAlertView")), "alloc"),
                       "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", "Alarm", "",
                       nullptr, "OK", std::vector<std::string>{});
    msg(alert, "show");
    EXPECT_FALSE(p.display.tap({100, 30}));
    EXPECT_EQ(p.counted("com.example.clock"), 1);
    EXPECT_LT(p.display.render(1).at(2, 300).r, 200);
    msg(alert, "dismissWithClickedButtonIndex:animated:", NSInteger{0}, false);

    // Locked, the lock screen covers the app; unlocked, the app is back as it was.
    p.host.lock();
    EXPECT_EQ(p.display.inFront(), "lock");
    p.display.tap({100, 30});
    EXPECT_EQ(p.counted("com.example.clock"), 1);
    p.host.unlock();
    EXPECT_EQ(p.display.inFront(), "com.example.clock");
    ASSERT_TRUE(p.display.tap({100, 30}));
    EXPECT_EQ(p.counted("com.example.clock"), 2);
}

} // namespace

namespace {

// The home screen, the switcher and an app under the status bar, written into the build tree
// for a person to look at.
TEST(HomeScreen, PicturesForAPersonToLookAt) {
    Phone p;
    const std::string dir = HM_PHONE_PICTURES_DIR;
    EXPECT_TRUE(p.display.write(dir + "/home.png", 2));
    ASSERT_TRUE(p.tapIcon(0));
    EXPECT_TRUE(p.display.write(dir + "/app.png", 2));
    p.apps.pressHome();
    ASSERT_TRUE(p.tapIcon(1));
    p.apps.showSwitcher();
    EXPECT_TRUE(p.display.write(dir + "/switcher.png", 2));
}

} // namespace
