// SpringBoard as a test or the simulator drives it: launch with the tweaks loaded, the Clock's
// alarms coming due on the main run loop as local notifications fired through
// `_fireNotification:` on the Clock application, ringing alarms presented by a modal alert
// (in use) or on the lock screen (locked), and notifications of other applications.
//
// Everything SpringBoard decides goes through its classes' methods, so a replaced method really
// changes what happens. What happens is recorded as device events (SpringBoardEvents.h).
// One host per process; it answers the classes' AlarmActions while it lives.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "springboard/AlarmActions.h"
#include "springboard/AlarmBook.h"
#include "springboard/SpringBoardScreen.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SBApplication;
struct SBBulletinModalAlert;
struct SBLockScreenViewController;

inline constexpr const char* kSpringBoardBundleIdentifier = "com.apple.springboard";

class SpringBoardHost : public AlarmActions {
  public:
    SpringBoardHost();
    ~SpringBoardHost() override;
    SpringBoardHost(const SpringBoardHost&) = delete;
    SpringBoardHost& operator=(const SpringBoardHost&) = delete;

    // Loads the tweaks whose filter names SpringBoard, then creates `SpringBoard` and sends it
    // `applicationDidFinishLaunching:`. Returns the libraries loaded. Once per host.
    std::vector<std::string> boot();
    bool isBooted() const { return booted_; }

    // Clock alarms (times of day in the device's time zone). Returns the alarm's id.
    std::string addAlarm(springboard::ClockAlarm alarm);
    bool removeAlarm(const std::string& alarmId);
    const springboard::AlarmBook& alarmBook() const { return book_; }

    // Fires a local notification of another application now, through its `_fireNotification:`.
    void fireLocalNotification(const std::string& bundleIdentifier, const std::string& body,
                               PlistDict userInfo = {});

    // Locking; unlocking while an alarm rings on the lock screen stops it (slide to stop).
    void lock();
    void unlock();
    bool isLocked() const { return locked_; }

    struct Ringing {
        std::string alarmId;
        std::string title;
        bool canSnooze = false;
        bool onLockScreen = false;
    };
    // A user's actions on an alarm ringing full screen on the lock screen: the slider stops it
    // (`performDismissAction`), the Snooze button snoozes it (`performAlternateAction`); false
    // when no alarm shows full screen.
    bool slideToStop();
    bool tapLockScreenSnooze();

    // The alarm ringing now, if any.
    std::optional<Ringing> ringing() const { return ringing_; }
    // The modal alert presenting the ringing alarm (none on the lock screen or when none rings).
    Ref<SBBulletinModalAlert> modalAlert() const;
    // Its `_alertSheet`.
    id alertSheet() const;

    // Pictures: the screen as it looks now (shown alerts drawn over it) and the status bar,
    // built anew at each call (the lock screen's Snooze button and slide to stop work by touch);
    // snapshots are written as PNG files at host paths, false when a file cannot be written.
    id screenWindow() const;
    id statusBarView(springboard::StatusBarStyle style = springboard::StatusBarStyle::Dark) const;
    // What that bar shows, as text: the same text, the same bar.
    std::string statusBarContent(springboard::StatusBarStyle style) const;
    bool writeScreenSnapshot(const std::string& hostPngPath) const;
    bool writeStatusBarSnapshot(const std::string& hostPngPath) const;

    id springBoard() const { return springBoard_; }
    Ref<SBApplication> application(const std::string& bundleIdentifier);
    Ref<SBApplication> clockApplication() { return application("com.apple.mobiletimer"); }
    Ref<SBLockScreenViewController> lockScreen() const { return lockScreen_; }

    // AlarmActions, answered for SpringBoard's classes.
    void deliverNotification(const id& application, const id& notification) override;
    void stopAlarm(const std::string& alarmId) override;
    void snoozeAlarm(const std::string& alarmId) override;

  private:
    void armWakeUp();
    void fireDueAlarms();
    void fire(const springboard::DueAlarm& due);
    void ring(const std::string& alarmId, const std::string& title, bool canSnooze);
    // Takes down whatever shows the ringing alarm, through SpringBoard's own messages.
    void takeDownPresentation();
    std::string titleOf(const std::string& alarmId) const;
    springboard::ScreenState screenState() const;

    springboard::AlarmBook book_;
    std::vector<Ref<SBApplication>> applications_;
    Ref<SBLockScreenViewController> lockScreen_;
    id springBoard_;
    Ref<SBBulletinModalAlert> modalAlert_;
    std::optional<Ringing> ringing_;
    std::uint64_t wakeUp_ = 0;
    unsigned long deliveries_ = 0;
    bool booted_ = false;
    bool locked_ = false;
    mutable id lockScreenControls_;
};
