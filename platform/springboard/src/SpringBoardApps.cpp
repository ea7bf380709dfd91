#include "springboard/SpringBoardApps.h"

#include "foundation/DeviceEvents.h"
#include "springboard/HomeScreenViews.h"
#include "springboard/SpringBoardEvents.h"

#include <algorithm>

namespace {

// The target of the home screen's icons and the switcher's cards: it acts on the apps while
// they live.
struct SBAppActions : NSObject {
    SpringBoardApps* apps = nullptr;
    static std::string appOf(const id& sender) {
        auto* control = dynamic_cast<SBAppControl*>(sender.get());
        return control ? control->bundleIdentifier : std::string();
    }
    void iconTapped(id sender) {
        if (apps)
            apps->open(appOf(sender));
    }
    void cardTouched(id sender) {
        if (!apps)
            return;
        auto* card = dynamic_cast<SBAppControl*>(sender.get());
        if (card && card->swipedUp)
            apps->close(card->bundleIdentifier);
        else if (card && msg<bool>(sender, "isTouchInside"))
            apps->open(card->bundleIdentifier);
    }
    void closeTapped(id sender) {
        if (apps)
            apps->close(appOf(sender));
    }
};
const ClassDef<SBAppActions> kSBAppActions("SBAppActions", "NSObject",
                                           {
                                               method("iconTapped:", &SBAppActions::iconTapped),
                                               method("cardTouched:", &SBAppActions::cardTouched),
                                               method("closeTapped:", &SBAppActions::closeTapped),
                                           });

} // namespace

SpringBoardApps::SpringBoardApps(CGSize screen) : screen_(screen) {
    auto actions = alloc<SBAppActions>();
    actions->apps = this;
    actions_ = actions;
}

SpringBoardApps::~SpringBoardApps() {
    static_cast<SBAppActions*>(actions_.get())->apps = nullptr;
}

void SpringBoardApps::install(SBAppDescription app) {
    for (SBAppDescription& known : installed_)
        if (known.bundleIdentifier == app.bundleIdentifier) {
            known = std::move(app);
            return;
        }
    installed_.push_back(std::move(app));
}

const SBAppDescription* SpringBoardApps::app(const std::string& bundleIdentifier) const {
    for (const SBAppDescription& known : installed_)
        if (known.bundleIdentifier == bundleIdentifier)
            return &known;
    return nullptr;
}

SBAppInstance* SpringBoardApps::instance(const std::string& bundleIdentifier) const {
    auto it = running_.find(bundleIdentifier);
    return it == running_.end() ? nullptr : it->second.get();
}

bool SpringBoardApps::open(const std::string& bundleIdentifier) {
    const SBAppDescription* described = app(bundleIdentifier);
    if (!described)
        return false;
    const bool resumed = isRunning(bundleIdentifier);
    const bool wasInFront = front_ == Front::App && !recent_.empty() && recent_.front() == bundleIdentifier;
    if (!resumed) {
        std::unique_ptr<SBAppInstance> launched = described->launch ? described->launch(screen_) : nullptr;
        if (!launched)
            return false;
        running_[bundleIdentifier] = std::move(launched);
    }
    recent_.erase(std::remove(recent_.begin(), recent_.end(), bundleIdentifier), recent_.end());
    recent_.insert(recent_.begin(), bundleIdentifier);
    front_ = Front::App;
    if (!wasInFront)
        DeviceEvents::record(resumed ? sbevent::kAppResumed : sbevent::kAppLaunched, described->name);
    return true;
}

void SpringBoardApps::pressHome() {
    front_ = Front::Home;
}

void SpringBoardApps::showSwitcher() {
    front_ = Front::Switcher;
}

bool SpringBoardApps::close(const std::string& bundleIdentifier) {
    auto it = running_.find(bundleIdentifier);
    if (it == running_.end())
        return false;
    const bool inFront = frontmost() == bundleIdentifier;
    std::unique_ptr<SBAppInstance> closing = std::move(it->second);
    running_.erase(it);
    recent_.erase(std::remove(recent_.begin(), recent_.end(), bundleIdentifier), recent_.end());
    if (inFront)
        front_ = Front::Home;
    closing.reset();
    const SBAppDescription* described = app(bundleIdentifier);
    DeviceEvents::record(sbevent::kAppClosed, described ? described->name : bundleIdentifier);
    return true;
}

id SpringBoardApps::homeScreenWindow() {
    return springboard::makeHomeScreenWindow(installed_, screen_, actions_);
}

id SpringBoardApps::switcherWindow() {
    std::vector<const SBAppDescription*> shown;
    for (const std::string& identifier : recent_)
        if (const SBAppDescription* described = app(identifier))
            shown.push_back(described);
    return springboard::makeSwitcherWindow(shown, screen_, actions_);
}

id SpringBoardApps::frontWindow() {
    switch (front_) {
    case Front::App:
        if (SBAppInstance* inFront = instance(recent_.front()))
            return inFront->window();
        return homeScreenWindow();
    case Front::Switcher:
        return switcherWindow();
    case Front::Home:
        break;
    }
    return homeScreenWindow();
}
