// SpringBoard's Clock alarms end to end: due alarms delivered through `_fireNotification:`,
// presented modally or on the lock screen, stopped and snoozed on every path.
#include "SpringBoardTestSupport.h"

#include "foundation/PropertyList.h"
#include "springboard/AlarmManager.h"
#include "springboard/SBApplication.h"
#include "springboard/SBBulletinModalAlert.h"
#include "springboard/SBLockScreenViewController.h"
#include "springboard/SpringBoardEvents.h"
#include "springboard/UIConcreteLocalNotification.h"
#include "substrate/substrate.h"
#include "uikit/UIAlertView.h"

#include <gtest/gtest.h>

namespace {

using namespace sbtest;
using springboard::ClockAlarm;
using springboard::kEveryDay;

ClockAlarm wake(bool snooze = true) {
    return ClockAlarm{"wake", {8, 30, 0}, "Wake", snooze, true};
}

id ivarOf(const id& object, const char* name) {
    return object_getIvar<id>(object.get(), class_getInstanceVariable(object->isa, name));
}

// Counts SpringBoard's `_dismissFullscreenBulletinAlertAnimated:` and calls through.
int gDismissCalls = 0;
void countFullscreenDismissals() {
    static Imp previous;
    static bool hooked = false;
    gDismissCalls = 0;
    if (hooked)
        return;
    hooked = true;
    MSHookMessageEx(objc_getClass("SBLockScreenViewController"),
                    sel_registerName("_dismissFullscreenBulletinAlertAnimated:"),
                    makeImp([](Object* self, bool animated) {
                        ++gDismissCalls;
                        callImp(previous, self, animated);
                    }),
                    &previous);
}

// A user's tap on a button of the modal alert's sheet.
void tapSheetButton(SpringBoardHost& host, NSInteger index) {
    auto sheet = cast<UIAlertView>(host.alertSheet());
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(sheet->tapButtonAtIndex(index));
}

id fullscreenController(SpringBoardHost& host) {
    return ivarOf(host.lockScreen(), "_fullscreenBulletinController");
}

TEST(SpringBoardHost, LaunchesAndKeepsOneClockDataProvider) {
    BootedDevice device;
    EXPECT_TRUE(device.host.isBooted());
    EXPECT_EQ(events(), (std::vector<std::string>{"springboard launched"}));
    id provider = msg<id>(classObject(objc_getClass("SBClockDataProvider")), "sharedInstance");
    EXPECT_TRUE(provider);
    EXPECT_EQ(provider, msg<id>(classObject(objc_getClass("SBClockDataProvider")), "sharedInstance"));
    EXPECT_EQ(msg<std::string>(device.host.clockApplication(), "bundleIdentifier"), "com.apple.mobiletimer");
}

TEST(SpringBoardHost, ADueAlarmIsFiredThroughTheClockApplicationAtItsTime) {
    BootedDevice device;
    device.host.addAlarm(wake());
    runUntil(8, 29, 59);
    EXPECT_TRUE(events({sbevent::kAlarmDelivered}).empty());
    runUntil(8, 30);
    EXPECT_EQ(events({sbevent::kAlarmDelivered, sbevent::kAlertShown}),
              (std::vector<std::string>{"alarm delivered: Wake", "alert shown: modal Wake"}));
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kAlarmDelivered).at(0).time, NSDate{at(8, 30)});
    ASSERT_TRUE(device.host.ringing());
    EXPECT_EQ(device.host.ringing()->alarmId, "wake");
    // A once-alarm rings once.
    runUntil(23, 0);
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kAlarmDelivered).size(), 1u);
}

TEST(SpringBoardHost, InUseTheAlarmRingsAsAModalAlertWithSnoozeAndOK) {
    BootedDevice device;
    device.host.addAlarm(wake());
    runUntil(8, 30);
    auto modal = device.host.modalAlert();
    ASSERT_TRUE(modal);
    id bulletin = ivarOf(modal, "_bulletin");
    EXPECT_EQ(msg<std::string>(bulletin, "sectionID"), "com.apple.mobiletimer");
    EXPECT_EQ(msg<NSInteger>(bulletin, "sectionSubtype"), 1);
    EXPECT_EQ(msg<std::string>(bulletin, "title"), "Wake");
    id sheet = ivarOf(modal, "_alertSheet");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(msg<std::string>(sheet, "title"), "Wake");
    EXPECT_EQ(msg<NSInteger>(sheet, "numberOfButtons"), 2);
    EXPECT_EQ(msg<std::string>(sheet, "buttonTitleAtIndex:", NSInteger{0}), "Snooze");
    EXPECT_EQ(msg<std::string>(sheet, "buttonTitleAtIndex:", NSInteger{1}), "OK");
    EXPECT_EQ(msg<id>(sheet, "delegate"), modal);
    EXPECT_TRUE(msg<bool>(sheet, "isVisible"));
    EXPECT_FALSE(fullscreenController(device.host));
}

TEST(SpringBoardHost, LockedTheAlarmRingsFullscreenOnTheLockScreen) {
    BootedDevice device;
    device.host.lock();
    device.host.addAlarm(wake());
    runUntil(8, 30);
    EXPECT_FALSE(device.host.modalAlert());
    id controller = fullscreenController(device.host);
    ASSERT_TRUE(controller);
    id item = msg<id>(controller, "item");
    EXPECT_TRUE(isKindOfClass(item, objc_getClass("SBAwayBulletinListItem")));
    EXPECT_EQ(msg<std::string>(item, "title"), "Wake");
    EXPECT_TRUE(msg<bool>(item, "canSnooze"));
    EXPECT_EQ(msg<std::string>(msg<id>(item, "activeBulletin"), "sectionID"), "com.apple.mobiletimer");
    EXPECT_TRUE(hasEvent(sbevent::kAlertShown, "lock screen Wake"));
}

// Every way of ending a ringing alarm: what it records, and whether the alarm comes back nine
// minutes later.
struct EndingCase {
    const char* name;
    bool locked;
    std::function<void(SpringBoardHost&)> act;
    const char* outcome; // "alarm stopped" or "alarm snoozed"
    friend void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.name; }
};

class EndingARingingAlarm : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EndingARingingAlarm, StopsOrSnoozesAndTakesTheAlertDown) {
    const EndingCase& c = GetParam();
    BootedDevice device;
    countFullscreenDismissals();
    if (c.locked)
        device.host.lock();
    device.host.addAlarm(wake());
    runUntil(8, 30);
    ASSERT_TRUE(device.host.ringing());
    runUntil(8, 31);
    c.act(device.host);

    EXPECT_FALSE(device.host.ringing());
    EXPECT_TRUE(hasEvent(c.outcome, "Wake"));
    const std::string shown = c.locked ? "lock screen Wake" : "modal Wake";
    EXPECT_EQ(events({sbevent::kAlertDismissed}), (std::vector<std::string>{"alert dismissed: " + shown}));
    if (c.locked) {
        EXPECT_EQ(gDismissCalls, 1) << "_dismissFullscreenBulletinAlertAnimated: on every path";
        EXPECT_FALSE(fullscreenController(device.host));
    }

    const bool snoozed = std::string(c.outcome) == sbevent::kAlarmSnoozed;
    runUntil(8, 39, 59);
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kAlarmDelivered).size(), 1u);
    runUntil(8, 40);
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kAlarmDelivered).size(), snoozed ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    AllPaths, EndingARingingAlarm,
    ::testing::Values(
        EndingCase{"ModalOK", false, [](SpringBoardHost& h) { tapSheetButton(h, 1); },
                   sbevent::kAlarmStopped},
        EndingCase{"ModalClickByMessageThenDismiss", false,
                   [](SpringBoardHost& h) {
                       msg(h.modalAlert(), "alertView:clickedButtonAtIndex:", h.alertSheet(), NSInteger{1});
                       msg(h.alertSheet(), "dismiss"); // UIAlertView keeps this from the delegate
                   },
                   sbevent::kAlarmStopped},
        EndingCase{"ModalSnooze", false, [](SpringBoardHost& h) { tapSheetButton(h, 0); },
                   sbevent::kAlarmSnoozed},
        EndingCase{"FullscreenDismissAction", true,
                   [](SpringBoardHost& h) { msg(fullscreenController(h), "performDismissAction"); },
                   sbevent::kAlarmStopped},
        EndingCase{"SlideToStop", true, [](SpringBoardHost& h) { EXPECT_TRUE(h.slideToStop()); },
                   sbevent::kAlarmStopped},
        EndingCase{"LockScreenSnoozeButton", true,
                   [](SpringBoardHost& h) { EXPECT_TRUE(h.tapLockScreenSnooze()); }, sbevent::kAlarmSnoozed},
        EndingCase{"FullscreenAlternateAction", true,
                   [](SpringBoardHost& h) { msg(fullscreenController(h), "performAlternateAction"); },
                   sbevent::kAlarmSnoozed},
        EndingCase{"UnlockSlidesToStop", true, [](SpringBoardHost& h) { h.unlock(); },
                   sbevent::kAlarmStopped}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpringBoardHost, AnAlarmThatCannotSnoozeOffersOnlyOKAndEveryButtonStopsIt) {
    {
        BootedDevice device;
        device.host.addAlarm(wake(false));
        runUntil(8, 30);
        id sheet = device.host.alertSheet();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(msg<NSInteger>(sheet, "numberOfButtons"), 1);
        EXPECT_EQ(msg<std::string>(sheet, "buttonTitleAtIndex:", NSInteger{0}), "OK");
        tapSheetButton(device.host, 0);
        EXPECT_TRUE(hasEvent(sbevent::kAlarmStopped, "Wake"));
    }
    {
        BootedDevice device;
        device.host.lock();
        device.host.addAlarm(wake(false));
        runUntil(8, 30);
        EXPECT_FALSE(msg<bool>(msg<id>(fullscreenController(device.host), "item"), "canSnooze"));
        EXPECT_FALSE(device.host.tapLockScreenSnooze()) << "no Snooze button to tap";
        msg(fullscreenController(device.host), "performAlternateAction");
        EXPECT_TRUE(hasEvent(sbevent::kAlarmStopped, "Wake"));
        EXPECT_TRUE(events({sbevent::kAlarmSnoozed}).empty());
    }
}

TEST(SpringBoardHost, ANewerAlarmEndsTheOneRinging) {
    BootedDevice device;
    countFullscreenDismissals();
    device.host.lock();
    device.host.addAlarm({"a", {8, 30, 0}, "First", true, true});
    device.host.addAlarm({"b", {8, 32, 0}, "Second", true, true});
    runUntil(8, 35);
    EXPECT_EQ(
        events({sbevent::kAlertShown, sbevent::kAlertDismissed, sbevent::kAlarmStopped}),
        (std::vector<std::string>{"alert shown: lock screen First", "alert dismissed: lock screen First",
                                  "alarm stopped: First", "alert shown: lock screen Second"}));
    EXPECT_EQ(gDismissCalls, 1);
    EXPECT_EQ(device.host.ringing()->alarmId, "b");
}

TEST(SpringBoardHost, RepeatingAlarmsRingInTheDeviceTimeZoneOnTheirDays) {
    BootedDevice device;
    writeToFile(PlistDict{{"TimeZone", "Europe/Berlin"}},
                "/private/var/mobile/Library/Preferences/.GlobalPreferences.plist", true);
    // 09:30 in Berlin (UTC+1 in December) on Tuesdays: 08:30 UTC the day after the Monday start.
    device.host.addAlarm({"tue", {9, 30, springboard::Tuesday}, "Tuesday", true, true});
    runUntil(23, 59);
    EXPECT_TRUE(events({sbevent::kAlarmDelivered}).empty());
    RunLoop::main().runUntil(NSDate{at(8, 30) + 86400});
    ASSERT_EQ(DeviceEvents::ofKind(sbevent::kAlarmDelivered).size(), 1u);
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kAlarmDelivered)[0].time, NSDate{at(8, 30) + 86400});
}

TEST(AlarmManager, RecognisesExactlyClockAlarmNotifications) {
    struct Other : NSObject {
        PlistDict userInfo() { return {{"alarmId", "a1"}}; }
    };
    static const ClassDef<Other> kOther("TestNotAlarm", "NSObject", {method("userInfo", &Other::userInfo)});
    const std::string clock = "com.apple.mobiletimer";
    const struct {
        const char* name;
        id notification;
        bool alarm;
    } cases[] = {
        {"clock alarm", UIConcreteLocalNotification::make(clock, NSDate{}, "Wake", {{"alarmId", "a1"}}, true),
         true},
        {"another application's, with an alarm id",
         UIConcreteLocalNotification::make("com.example.app", NSDate{}, "Wake", {{"alarmId", "a1"}}, true),
         false},
        {"the clock's, without an alarm id",
         UIConcreteLocalNotification::make(clock, NSDate{}, "Timer", {{"from", "x"}}, false), false},
        {"empty alarm id",
         UIConcreteLocalNotification::make(clock, NSDate{}, "Wake", {{"alarmId", ""}}, false), false},
        {"alarm id not text",
         UIConcreteLocalNotification::make(clock, NSDate{}, "Wake", {{"alarmId", 7}}, false), false},
        {"none", nullptr, false},
        {"not a local notification, with an alarm id",
         msg<id>(classObject(objc_getClass("TestNotAlarm")), "new"), false},
        {"no userInfo at all", msg<id>(classObject(objc_getClass("NSObject")), "new"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            msg<bool>(classObject(objc_getClass("AlarmManager")), "isAlarmNotification:", c.notification),
            c.alarm)
            << c.name;
}

} // namespace
