// SpringBoard and the Settings app: boot and relaunch, the window each screen shows, and which
// screen each alert belongs to.
#include "device/Apps.h"

#include "PhoneApps.h"
#include "ViewSearch.h"
#include "device/RootLock.h"
#include "device/StopSignals.h"

#include "clock/ClockApp.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardApps.h"
#include "springboard/SpringBoardDisplay.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIColor.h"
#include "uikit/UISnapshot.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace sim {
namespace {

// Whether the Settings window still shows the current page, laid out as a new one would be.
bool showsCurrentPage(SettingsApp& settings, const id& window, size_t depthWhenMade, CGSize screen) {
    if (!window || settings.depth() != depthWhenMade || !settings.currentController())
        return false;
    auto* table = dynamic_cast<UIView*>(msg<id>(settings.currentController(), "table").get());
    auto* page = table ? dynamic_cast<UIView*>(table->superview().get()) : nullptr;
    if (!page || page->superview() != window)
        return false;
    // The page's height as a new one would have it: the screen, the table, or whatever its
    // rows draw past the table.
    const double tall = std::max(double(screen.height), double(CGRectGetMaxY(table->frame())));
    const CGRect drawn = UISnapshotDrawnRect(page->self());
    const double height = std::max(tall, std::ceil(double(CGRectGetMaxY(drawn))));
    const CGSize size = page->frame().size;
    return size.height == height && size.width == screen.width && msg<CGRect>(window, "frame").size == size;
}

} // namespace

Apps::Apps(const DeviceSetup& setup) : setup_(setup) {}

// The windows go first: they hold the hosts' views; then the display and the running apps, which
// hold the apps.
Apps::~Apps() {
    windows_ = {};
    display_.reset();
    phoneApps_.reset();
    clock_.reset();
    settings_.reset();
    springboard_.reset();
}

std::string Apps::boot() {
    if (springboard_)
        return "the device is booted already";
    for (const std::string& name : setup_.springboardWithout)
        objc_hideClass(name);
    springboard_ = std::make_unique<SpringBoardHost>();
    springboard_->boot();
    for (const auto& hook : bootHooks_)
        hook(*springboard_);
    settings_ = std::make_unique<SettingsApp>(setup_.screen);
    clockLocale_ = DeviceEnvironment::locale();
    phoneApps_ = std::make_unique<SpringBoardApps>(setup_.screen);
    installPhoneApps(*phoneApps_, *settings_, [this]() -> clockapp::ClockApp& { return *clockApp(); });
    display_ = std::make_unique<SpringBoardDisplay>(*springboard_, *phoneApps_);
    return settled(Screen::SpringBoard, "");
}

clockapp::ClockApp* Apps::clockApp() const {
    if (!clock_ && springboard_) {
        clock_ = std::make_unique<clockapp::ClockApp>(*springboard_, setup_.screen, clockLocale_);
        clockSeen_ = alarmModelSignature(*springboard_);
    }
    return clock_.get();
}

bool Apps::isBooted() const {
    return springboard_ != nullptr;
}

void Apps::whenBooting(std::function<void(SpringBoardHost&)> hook) {
    bootHooks_.push_back(std::move(hook));
}

std::string Apps::relaunch(const std::vector<std::string>& argv) {
    if (argv.empty())
        return "nothing to relaunch";
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (auto& w : words)
        args.push_back(w.data());
    args.push_back(nullptr);
    stopsignals::HeldAcrossExec held; // a stop arriving now waits for the new image
    if (stopsignals::caught())
        return "stopped before the relaunch"; // one that came before would be lost
    keepRootLockAcrossExec();
    execv(words[0].c_str(), args.data());
    return "cannot relaunch " + words[0];
}

bool Apps::hasSettingsPage() const {
    return settings_ && settings_->currentController();
}

std::string Apps::bundleIdentifierOf(const std::string& appName) {
    if (appName == kSettingsAppName)
        return kSettingsBundleIdentifier;
    if (appName == kClockAppName)
        return kClockAppBundleIdentifier;
    return "";
}

std::string Apps::inFront() const {
    if (!display_)
        return "";
    const std::string front = display_->inFront();
    const SBAppDescription* app = phoneApps_->app(front);
    return app ? app->name : front;
}

void Apps::bringSettingsToFront() {
    if (!phoneApps_ || phoneApps_->frontmost() == kSettingsBundleIdentifier)
        return;
    if (display_->fingerDown())
        display_->touchCancel(); // the finger on another app's window leaves with it
    phoneApps_->open(kSettingsBundleIdentifier);
    cameToFront();
}

void Apps::cameToFront() {
    if (phoneApps_ && phoneApps_->frontmost() == kClockAppBundleIdentifier) {
        clockApp()->reload();
        clockSeen_ = alarmModelSignature(*springboard_);
    }
}

std::optional<std::string> Apps::lockScreenAlarm() const {
    if (!springboard_)
        return std::nullopt;
    auto ringing = springboard_->ringing();
    if (ringing && ringing->onLockScreen && springboard_->isLocked())
        return ringing->title;
    return std::nullopt;
}

std::string Apps::settled(Screen acting, std::string result) {
    RunLoop::main().drain();
    claimAlerts(acting);
    // The Clock app shows the alarms as they are: one added, switched or rung elsewhere shows
    // in its list at once (not while a finger is on it: the touched views stay as they are).
    // A page being edited keeps what the person entered; the list reads the alarms once it shows.
    // A Clock app not made yet reads them when it is.
    if (clock_ && !display_->fingerDown() && clock_->page() == clockapp::ClockApp::Page::List) {
        std::string now = alarmModelSignature(*springboard_);
        if (now != clockSeen_) {
            clockSeen_ = std::move(now);
            clock_->reload();
        }
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Windows and their alerts

void Apps::refreshPhone() {
    // The display's windows take the apps' views (Settings' table among them): never while a
    // finger is down on a window that holds them.
    if (display_ && !held_[screenIndex(Screen::SpringBoard)] && !held_[screenIndex(Screen::Settings)])
        display_->refresh();
}

id Apps::window(Screen screen) {
    auto& slot = windows_[screenIndex(screen)];
    if (held_[screenIndex(screen)] && slot)
        return slot;
    // A finger on the phone keeps the Settings views it touches where they are: the page's
    // window last made (or, for want of one, an empty one) stands in meanwhile.
    const bool phoneTouched = screen == Screen::Settings && display_ && display_->fingerDown();
    if (phoneTouched && slot)
        return slot;
    const CGRect bounds{{0, 0}, setup_.screen};
    id made;
    if (screen == Screen::Phone && display_) {
        // The display's windows are its own (built again whenever no finger is down); this is
        // the one full screen under the status bar.
        refreshPhone();
        const auto shown = display_->windows();
        return shown.empty() ? id() : shown.front();
    }
    if (screen == Screen::SpringBoard && springboard_) {
        made = springboard_->screenWindow();
    } else if (screen == Screen::Settings && hasSettingsPage() && !phoneTouched) {
        // The page's window is kept while it shows the page as it is, so what changes on it is
        // all that is drawn again.
        if (showsCurrentPage(*settings_, slot, settingsDepth_, setup_.screen))
            return slot;
        settingsDepth_ = settings_->depth();
        id page = settings_->pageView();
        made = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                       "initWithFrame:", CGRect{{0, 0}, asView(page)->frame().size});
        msg(made, "addSubview:", page);
    } else {
        // Not booted, or Settings on no page: an empty screen (kept while it stays empty).
        if (screen == Screen::Settings) {
            if (slot && settingsDepth_ == 0)
                return slot;
            settingsDepth_ = 0;
        }
        made = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"), "initWithFrame:", bounds);
        msg(made, "setBackgroundColor:",
            screen == Screen::Settings ? id(UIColor::rgba(0.94, 0.94, 0.96, 1)) : id(UIColor::white(0, 1)));
    }
    static_cast<UIWindow*>(made.get())->setAlertSource([this, screen] { return alertsOn(screen); });
    slot = made;
    return slot;
}

void Apps::holdWindow(Screen screen, bool held) {
    held_[screenIndex(screen)] = held;
}

id Apps::heldWindow(Screen screen) const {
    return windows_[screenIndex(screen)];
}

void Apps::claimAlerts(Screen acting) {
    owners_.erase(std::remove_if(owners_.begin(), owners_.end(),
                                 [](const Owner& o) {
                                     auto a = o.alert.lock();
                                     return !a || !a->isVisible();
                                 }),
                  owners_.end());
    for (const auto& alert : UIAlertView::shownAlerts()) {
        bool known = std::any_of(owners_.begin(), owners_.end(),
                                 [&](const Owner& o) { return o.alert.lock() == alert; });
        if (!known)
            owners_.push_back({alert, acting});
    }
    for (const auto& hook : claimHooks_)
        hook();
}

void Apps::whenClaiming(std::function<void()> hook) {
    claimHooks_.push_back(std::move(hook));
}

Screen Apps::ownerOf(const Ref<UIAlertView>& alert) const {
    Screen owner = Screen::SpringBoard; // not yet claimed: shown while time passed
    for (const auto& o : owners_)
        if (o.alert.lock() == alert)
            owner = o.screen;
    return owner;
}

std::vector<Ref<UIAlertView>> Apps::alertsOn(Screen screen) {
    if (screen == Screen::Phone)
        return UIAlertView::shownAlerts(); // the one display shows every alert
    std::vector<Ref<UIAlertView>> out;
    for (const auto& alert : UIAlertView::shownAlerts())
        if (ownerOf(alert) == screen)
            out.push_back(alert);
    return out;
}

} // namespace sim
