#include "springboard/SpringBoardHost.h"

#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/RunLoop.h"
#include "springboard/AlarmManager.h"
#include "springboard/BBBulletin.h"
#include "springboard/DeviceTimeZone.h"
#include "springboard/SBApplication.h"
#include "springboard/SBAwayBulletinListItem.h"
#include "springboard/SBBulletinModalAlert.h"
#include "springboard/SBLockScreenViewController.h"
#include "springboard/SpringBoardEvents.h"
#include "springboard/StatusBar.h"
#include "springboard/UIConcreteLocalNotification.h"
#include "substrate/loader.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UISnapshot.h"

using springboard::AlarmBook;
using springboard::ClockAlarm;
using springboard::DueAlarm;

namespace {

// The target of the lock screen's controls: a person's Snooze tap and slide to stop, handed to
// the host's own actions on the fullscreen alarm.
struct SBLockScreenControlsTarget : NSObject {
    float slideStart = 1;
    static SpringBoardHost* host() { return dynamic_cast<SpringBoardHost*>(AlarmActions::current()); }
    void snoozeTapped(id) {
        if (auto* h = host())
            h->tapLockScreenSnooze();
    }
    void slideBegan(id slider) { slideStart = msg<float>(slider, "value"); }
    void slideEnded(id slider) {
        // Only a knob dragged from the left end all the way across stops the alarm.
        const bool across = slideStart <= 0.2f && msg<float>(slider, "value") >= 0.9f;
        msg(slider, "setValue:", 0.0f);
        if (auto* h = host(); h && across)
            h->slideToStop();
    }
};
const ClassDef<SBLockScreenControlsTarget>
    kSBLockScreenControlsTarget("SBLockScreenControlsTarget", "NSObject",
                                {
                                    method("snoozeTapped:", &SBLockScreenControlsTarget::snoozeTapped),
                                    method("slideBegan:", &SBLockScreenControlsTarget::slideBegan),
                                    method("slideEnded:", &SBLockScreenControlsTarget::slideEnded),
                                });

std::string bodyOf(const id& notification) {
    auto n = cast<UIConcreteLocalNotification>(notification);
    return n ? n->alertBody_ : std::string();
}
} // namespace

SpringBoardHost::SpringBoardHost()
    : book_(springboard::deviceUtcOffset), lockScreen_(alloc<SBLockScreenViewController>()) {
    AlarmActions::setCurrent(this);
}

SpringBoardHost::~SpringBoardHost() {
    if (wakeUp_)
        RunLoop::main().cancel(wakeUp_);
    if (AlarmActions::current() == this)
        AlarmActions::setCurrent(nullptr);
}

std::vector<std::string> SpringBoardHost::boot() {
    if (booted_)
        return {};
    booted_ = true;
    std::vector<std::string> loaded = MSLoadTweaksForHost(kSpringBoardBundleIdentifier);
    springBoard_ = msg<id>(classObject(objc_getClass("SpringBoard")), "new");
    msg(springBoard_, "applicationDidFinishLaunching:", springBoard_);
    armWakeUp();
    return loaded;
}

std::string SpringBoardHost::addAlarm(ClockAlarm alarm) {
    const std::string id =
        book_.add(std::move(alarm), DeviceClock::now().timeIntervalSinceReferenceDate).alarmId;
    armWakeUp();
    return id;
}

bool SpringBoardHost::removeAlarm(const std::string& alarmId) {
    const bool removed = book_.remove(alarmId);
    armWakeUp();
    return removed;
}

Ref<SBApplication> SpringBoardHost::application(const std::string& bundleIdentifier) {
    for (const auto& app : applications_)
        if (app->bundleIdentifier_ == bundleIdentifier)
            return app;
    applications_.push_back(SBApplication::make(bundleIdentifier));
    return applications_.back();
}

Ref<SBBulletinModalAlert> SpringBoardHost::modalAlert() const {
    return modalAlert_;
}

id SpringBoardHost::alertSheet() const {
    return modalAlert_ ? modalAlert_->alertSheet_ : nullptr;
}

void SpringBoardHost::armWakeUp() {
    if (wakeUp_)
        RunLoop::main().cancel(wakeUp_);
    wakeUp_ = 0;
    if (auto due = book_.nextDue()) {
        wakeUp_ = RunLoop::main().schedule(NSDate{*due}, [this] {
            wakeUp_ = 0;
            fireDueAlarms();
        });
    }
}

void SpringBoardHost::fireDueAlarms() {
    for (const DueAlarm& due : book_.takeDue(DeviceClock::now().timeIntervalSinceReferenceDate))
        fire(due);
    armWakeUp();
}

std::string SpringBoardHost::titleOf(const std::string& alarmId) const {
    const ClockAlarm* alarm = book_.find(alarmId);
    return alarm && !alarm->label.empty() ? alarm->label : "Alarm";
}

void SpringBoardHost::fire(const DueAlarm& due) {
    const ClockAlarm* alarm = book_.find(due.alarmId);
    if (!alarm)
        return;
    const std::string title = titleOf(due.alarmId);
    auto notification =
        UIConcreteLocalNotification::make(kClockBundleIdentifier, NSDate{due.dueUtc}, title,
                                          PlistDict{{kAlarmIdKey, due.alarmId}}, alarm->allowsSnooze);
    const unsigned long before = deliveries_;
    msg(clockApplication(), "_fireNotification:", notification);
    // SpringBoard's own delivery was never reached: whatever replaced it dropped the alarm.
    if (deliveries_ == before)
        DeviceEvents::record(sbevent::kAlarmDropped, title);
}

void SpringBoardHost::fireLocalNotification(const std::string& bundleIdentifier, const std::string& body,
                                            PlistDict userInfo) {
    auto notification = UIConcreteLocalNotification::make(bundleIdentifier, DeviceClock::now(), body,
                                                          std::move(userInfo), false);
    const unsigned long before = deliveries_;
    msg(application(bundleIdentifier), "_fireNotification:", notification);
    if (deliveries_ == before)
        DeviceEvents::record(sbevent::kNotificationDropped, bundleIdentifier + ": " + body);
}

void SpringBoardHost::deliverNotification(const id& application, const id& notification) {
    ++deliveries_;
    const std::string bundle = msg<std::string>(application, "bundleIdentifier");
    if (bundle == kClockBundleIdentifier && AlarmManager::isAlarmNotification(notification)) {
        const PlistDict userInfo = msg<PlistDict>(notification, "userInfo");
        const std::string alarmId = valueForKey(userInfo, kAlarmIdKey).asString();
        const std::string title = bodyOf(notification).empty() ? titleOf(alarmId) : bodyOf(notification);
        DeviceEvents::record(sbevent::kAlarmDelivered, title);
        auto local = cast<UIConcreteLocalNotification>(notification);
        ring(alarmId, title, local && local->allowSnooze_);
        return;
    }
    DeviceEvents::record(sbevent::kNotificationDelivered, bundle + ": " + bodyOf(notification));
}

void SpringBoardHost::ring(const std::string& alarmId, const std::string& title, bool canSnooze) {
    if (ringing_) {
        // One alarm rings at a time: a newer one ends the one ringing.
        const std::string previous = ringing_->alarmId;
        takeDownPresentation();
        stopAlarm(previous);
    }
    ringing_ = Ringing{alarmId, title, canSnooze, locked_};
    auto bulletin = BBBulletin::make(kClockBundleIdentifier, kAlarmSectionSubtype, title, alarmId);
    if (canSnooze)
        bulletin->alternateActionLabel_ = kSnoozeTitle;
    if (locked_) {
        msg(lockScreen_,
            "presentFullscreenBulletinAlertWithItem:", SBAwayBulletinListItem::make(bulletin, canSnooze));
    } else {
        modalAlert_ = SBBulletinModalAlert::make(bulletin);
        modalAlert_->present();
    }
}

void SpringBoardHost::takeDownPresentation() {
    if (modalAlert_ && modalAlert_->isShowing() && modalAlert_->alertSheet_)
        msg(modalAlert_->alertSheet_, "dismiss");
    modalAlert_.reset();
    if (lockScreen_->isShowingFullscreenBulletin())
        msg(lockScreen_, "_dismissFullscreenBulletinAlertAnimated:", true);
}

void SpringBoardHost::stopAlarm(const std::string& alarmId) {
    if (!ringing_ || ringing_->alarmId != alarmId)
        return;
    const std::string title = ringing_->title;
    ringing_.reset();
    book_.stop(alarmId);
    DeviceEvents::record(sbevent::kAlarmStopped, title);
    armWakeUp();
}

void SpringBoardHost::snoozeAlarm(const std::string& alarmId) {
    if (!ringing_ || ringing_->alarmId != alarmId)
        return;
    const std::string title = ringing_->title;
    ringing_.reset();
    book_.snooze(alarmId, DeviceClock::now().timeIntervalSinceReferenceDate);
    DeviceEvents::record(sbevent::kAlarmSnoozed, title);
    armWakeUp();
}

bool SpringBoardHost::slideToStop() {
    id controller = lockScreen_->fullscreenBulletinController_;
    if (!controller)
        return false;
    msg(controller, "performDismissAction");
    return true;
}

bool SpringBoardHost::tapLockScreenSnooze() {
    id controller = lockScreen_->fullscreenBulletinController_;
    if (!controller || !msg<bool>(msg<id>(controller, "item"), "canSnooze"))
        return false;
    msg(controller, "performAlternateAction");
    return true;
}

void SpringBoardHost::lock() {
    if (locked_)
        return;
    locked_ = true;
    DeviceEvents::record(sbevent::kLocked, "");
}

void SpringBoardHost::unlock() {
    if (!locked_)
        return;
    locked_ = false;
    DeviceEvents::record(sbevent::kUnlocked, "");
    if (ringing_ && ringing_->onLockScreen) {
        // Unlocking a ringing lock screen is its slide to stop.
        stopAlarm(ringing_->alarmId);
        if (lockScreen_->isShowingFullscreenBulletin())
            msg(lockScreen_, "_dismissFullscreenBulletinAlertAnimated:", true);
    }
}

springboard::ScreenState SpringBoardHost::screenState() const {
    springboard::ScreenState state;
    state.now = DeviceClock::now();
    state.utcOffset = springboard::deviceUtcOffset(state.now.timeIntervalSinceReferenceDate);
    state.locked = locked_;
    if (id controller = lockScreen_->fullscreenBulletinController_) {
        id item = msg<id>(controller, "item");
        state.fullscreenAlarm = msg<std::string>(item, "title");
        state.canSnooze = msg<bool>(item, "canSnooze");
    }
    state.items = StatusBar::shared().items();
    return state;
}

id SpringBoardHost::screenWindow() const {
    id window = springboard::makeScreenWindow(screenState());
    if (!lockScreenControls_)
        lockScreenControls_ = msg<id>(classObject(objc_getClass("SBLockScreenControlsTarget")), "new");
    if (id snooze = msg<id>(window, "viewWithTag:", NSInteger{springboard::kLockScreenSnoozeTag}))
        msg(snooze, "addTarget:action:forControlEvents:", lockScreenControls_, SELECTOR("snoozeTapped:"),
            UIControlEventTouchUpInside);
    if (id slide = msg<id>(window, "viewWithTag:", NSInteger{springboard::kLockScreenSlideTag})) {
        msg(slide, "addTarget:action:forControlEvents:", lockScreenControls_, SELECTOR("slideBegan:"),
            UIControlEventTouchDown);
        msg(slide, "addTarget:action:forControlEvents:", lockScreenControls_, SELECTOR("slideEnded:"),
            UIControlEventTouchUpInside | UIControlEventTouchUpOutside | UIControlEventTouchCancel);
    }
    return window;
}

id SpringBoardHost::statusBarView(springboard::StatusBarStyle style) const {
    return springboard::makeStatusBarView(screenState(), style);
}

std::string SpringBoardHost::statusBarContent(springboard::StatusBarStyle style) const {
    return springboard::statusBarContent(screenState(), style);
}

bool SpringBoardHost::writeScreenSnapshot(const std::string& hostPngPath) const {
    return UISnapshotWriteScreen(screenWindow(), hostPngPath, 2);
}

bool SpringBoardHost::writeStatusBarSnapshot(const std::string& hostPngPath) const {
    return UISnapshotWriteView(statusBarView(), hostPngPath, 2);
}
