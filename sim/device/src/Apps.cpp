// SpringBoard and the Settings app: boot and relaunch, the window each screen shows, and which
// screen each alert belongs to.
#include "device/Apps.h"

#include "ViewSearch.h"
#include "device/RootLock.h"
#include "device/StopSignals.h"

#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
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

// The windows go first: they hold the hosts' views.
Apps::~Apps() {
    windows_ = {};
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
    return settled(Screen::SpringBoard, "");
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
    return result;
}

// ---------------------------------------------------------------------------------------------
// Windows and their alerts

id Apps::window(Screen screen) {
    auto& slot = windows_[screenIndex(screen)];
    if (held_[screenIndex(screen)] && slot)
        return slot;
    const CGRect bounds{{0, 0}, setup_.screen};
    id made;
    if (screen == Screen::SpringBoard && springboard_) {
        made = springboard_->screenWindow();
    } else if (screen == Screen::Settings && hasSettingsPage()) {
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
    std::vector<Ref<UIAlertView>> out;
    for (const auto& alert : UIAlertView::shownAlerts())
        if (ownerOf(alert) == screen)
            out.push_back(alert);
    return out;
}

} // namespace sim
