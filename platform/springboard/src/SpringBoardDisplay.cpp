#include "springboard/SpringBoardDisplay.h"

#include "springboard/SpringBoardHost.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIWindow.h"

SpringBoardDisplay::SpringBoardDisplay(SpringBoardHost& host, SpringBoardApps& apps)
    : host_(host), apps_(apps), stack_(apps.screenSize()) {
    stack_.setAlertSource([] { return UIAlertView::shownAlerts(); });
}

void SpringBoardDisplay::refresh() {
    if (fingerDown())
        return;
    if (host_.isLocked()) {
        stack_.setWindows({host_.screenWindow()});
        return;
    }
    const bool app = apps_.front() == SpringBoardApps::Front::App;
    id front = apps_.frontWindow();
    // The bar's window is kept while it would show the same: only a change is drawn again.
    const auto style = app ? springboard::StatusBarStyle::Light : springboard::StatusBarStyle::Dark;
    std::string shows = host_.statusBarContent(style);
    if (statusBar_ && shows == statusBarContent_) {
        stack_.setWindows({front, statusBar_});
        return;
    }
    id bar =
        msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                "initWithFrame:", CGRect{{0, 0}, {apps_.screenSize().width, springboard::kStatusBarHeight}});
    id content = host_.statusBarView(style);
    // Over the home screen and the switcher the bar is see-through: their picture shows under its text.
    if (!app)
        msg(content, "setBackgroundColor:", id());
    msg(bar, "addSubview:", content);
    msg(bar, "setWindowLevel:", kStatusBarWindowLevel);
    msg(bar, "setUserInteractionEnabled:", false);
    statusBar_ = bar;
    statusBarContent_ = std::move(shows);
    stack_.setWindows({front, bar});
}

bool SpringBoardDisplay::touchDown(CGPoint point) {
    refresh();
    return stack_.touchDown(point);
}

void SpringBoardDisplay::touchMove(CGPoint point) {
    stack_.touchMove(point);
}

bool SpringBoardDisplay::touchUp(CGPoint point) {
    return stack_.touchUp(point);
}

void SpringBoardDisplay::touchCancel() {
    stack_.touchCancel();
}

bool SpringBoardDisplay::tap(CGPoint point) {
    return touchDown(point) && touchUp(point);
}

bool SpringBoardDisplay::scrollWheel(CGPoint point, CGPoint delta) {
    refresh();
    return stack_.scrollWheel(point, delta);
}

std::string SpringBoardDisplay::inFront() const {
    if (host_.isLocked())
        return "lock";
    switch (apps_.front()) {
    case SpringBoardApps::Front::App:
        return apps_.frontmost();
    case SpringBoardApps::Front::Switcher:
        return "switcher";
    case SpringBoardApps::Front::Home:
        break;
    }
    return "home";
}

SnapshotImage SpringBoardDisplay::render(double scale) {
    refresh();
    return stack_.render(scale);
}

bool SpringBoardDisplay::write(const std::string& hostPngPath, double scale) {
    refresh();
    return stack_.write(hostPngPath, scale);
}
