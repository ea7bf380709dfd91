// The virtual device: one device root, one virtual clock, SpringBoard (with its tweaks) and the
// Settings app, each with the window a person looks at and touches. Front ends (the scenario
// runner, `inspect`, the browser server) only translate into the calls below; no step's logic
// lives in a front end.
//
// Threading. A device is single-threaded, as a phone's main thread is: make it, call it and
// destroy it on one thread, the process's main thread, which also drains the main run loop. A
// server thread never calls it: the browser front end's `DeviceHost` (sim/web) runs on the main
// thread, and server threads hand it work through its queue (`DeviceHost::call`) and wait for
// the answer. One device per process (the platform holds one runtime, one loop and one root).
//
// Results. Every action answers "" when it was carried out, else a sentence saying why not
// ("no alert is shown"). Nothing throws. An action runs what falls due at once (the main
// queue is drained), so its effects are visible when it returns.
//
// Screens. `Screen::SpringBoard` is the phone's screen: status bar, lock screen (with a ringing
// alarm, its Snooze button and its slide to stop) or home screen, and SpringBoard's alerts over
// it. `Screen::Settings` is the Settings app on its current page: navigation bar and table, as
// tall as the page's content (at least the screen), and the Settings app's own alerts (the color
// cell's prompts) over it. Points are screen points, (0, 0) at the top left; the pictures are
// `scale` pixels a point.
//
// Alerts belong to the screen whose code showed them: an alert first seen after an action on
// Settings is the Settings app's; any other (an alarm ringing as time passes, a tap on
// SpringBoard) is SpringBoard's.
//
// Events. Everything the device does is a `DeviceEvent` (time, kind, detail): alarms, alerts,
// timers, status items, file writes, Darwin posts ("posted"), log lines ("log"), the clock moved
// by a front end ("clock set"). Read them by cursor (`events(from)`: the index of the first
// event you have not seen; `eventCount()` is the next cursor) or subscribe for each as it is
// recorded.
//
// Inspection (`inspect`) is JSON, the same a front end serves; its schema is in the README
// ("Inspecting a screen") and below at `inspect`.
//
// Pictures. `render` draws a screen; `png` encodes it in memory; `screenVersion` counts changes
// of what a screen shows (a new number whenever the rendered pixels differ from the last
// rendering it compared), so a front end sends a picture only when it changed. `changes` keeps a
// picture of each screen and redraws only what views marked as changed, answering the changed
// rectangles (device/ScreenChanges.h), so a front end sends only those.
//
// Respring. A loaded library's constructor runs once per process, so a respring relaunches the
// process, as SpringBoard relaunches on a phone: `saveForRespring` writes the device's state
// (clock, lock, Clock alarms, and whatever the front end adds) into the device root, then the
// front end re-executes itself (`relaunch` does it with execv; a server may keep its listening
// socket open across the exec) and the new process makes its device with `Options::resume`,
// which reads the state back, boots, and hands the front end its part. Clock alarms carry over
// (a pending snooze does not); Settings starts again on no page.
#pragma once

#include "device/DeviceSetup.h"
#include "device/ScreenChanges.h"
#include "words/Words.h"

#include "coregraphics/CoreGraphics.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NSDate.h"
#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "uikit/UISnapshot.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SpringBoardHost;
class SettingsApp;
struct UIAlertView;

namespace sim {

// A Clock alarm as a person sets it.
struct AlarmRequest {
    int secondsOfDay = 0; // local time of day, seconds kept
    std::string label;
    bool snooze = true;
    bool daily = false;
    bool enabled = true; // off: kept in the list, never due (a once-alarm that has rung)
};

// A Clock alarm as the device holds it.
struct AlarmInfo {
    std::string alarmId;
    int secondsOfDay = 0;
    std::string label;
    bool snooze = true;
    bool daily = false;
    bool enabled = true;
};

class Device {
  public:
    struct Options {
        std::filesystem::path root; // laid out already (layDeviceImage)
        NSDate start;               // the virtual clock's start (ignored when resuming)
        bool resume = false;        // continue after a respring: read the saved state, boot
    };
    // Sets the platform's device root and virtual clock, reads the root's setup (screen,
    // missing classes, timer slack). After a resume, `resumeError()` says whether it worked.
    explicit Device(Options options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const DeviceSetup& setup() const { return setup_; }
    const std::filesystem::path& root() const { return root_; }
    const std::string& resumeError() const { return resumeError_; }
    // What the front end saved with `saveForRespring`, after a resume.
    const PlistDict& resumedFrontEndState() const { return frontEndState_; }

    // --- Life cycle -----------------------------------------------------------------------
    // Starts SpringBoard (tweaks loaded, `applicationDidFinishLaunching:`) and Settings.
    std::string boot();
    bool isBooted() const;
    // Writes the state a relaunched process resumes from; false when it cannot be written.
    bool saveForRespring(const PlistDict& frontEndState);
    // Replaces this process with `argv` (argv[0] a path); answers only when that fails.
    static std::string relaunch(const std::vector<std::string>& argv);

    // --- The clock (virtual) ----------------------------------------------------------------
    NSDate now() const;
    std::string timeZone() const;
    // Lets time pass: everything falling due runs, in order.
    std::string advance(double seconds);
    // Lets time pass until the local clock next reads the time of day (today, else tomorrow).
    std::string advanceTo(int secondsOfDay);
    // Lets time pass until the next Clock alarm (or snooze) rings; an error when none is set.
    std::string advanceToNextAlarm();
    // Moves the clock at once, forward or backward; records "clock set".
    std::string setClock(NSDate date);
    // Moves the clock to a local time: on `day`, or today when none; records "clock set".
    std::string setLocalTime(std::optional<CalendarDay> day, int secondsOfDay);
    // When the next Clock alarm (or snooze) rings, if any.
    std::optional<NSDate> nextAlarmDate() const;
    // The range of moments the device's dates can hold (years 1 to 9999).
    static bool isHoldableDate(double secondsSince2001);

    // --- The world --------------------------------------------------------------------------
    std::string lock(bool locked);
    bool isLocked() const;
    // Sets a Clock alarm (kept for a boot still to come); `alarmId` gets its id once booted.
    std::string addAlarm(const AlarmRequest& request, std::string* alarmId = nullptr);
    std::string removeAlarm(const std::string& alarmId);
    std::vector<AlarmInfo> alarms() const;
    // Another application's local notification fires now.
    std::string notify(const std::string& bundleIdentifier);
    // Device files, by device path: raw bytes, or removal. Written at once, not atomically,
    // as a careless tool would (from outside the device: no event).
    std::string writeFile(const std::string& devicePath, const std::string& bytes);
    std::string deleteFile(const std::string& devicePath);
    // The same on the settings file; `corruptSettingsFile` leaves it cut off inside its first
    // key, as a write stopped halfway would.
    std::string writeSettingsFile(const std::string& bytes);
    std::string deleteSettingsFile();
    std::string corruptSettingsFile();
    // The settings file's keys, as a tool with the file's format would edit them.
    std::string setSetting(const std::string& key, const PlistValue& value);
    // A date key set to the moment `seconds` from now; an error outside the years 1 to 9999.
    std::string setSettingFromNow(const std::string& key, double seconds);
    std::string removeSetting(const std::string& key);
    // The key's value as text ("true", "30", "#1E90FF", a local "YYYY-MM-DD HH:MM:SS"), or
    // "absent".
    std::string settingText(const std::string& key) const;

    // --- A person's touches and keys ----------------------------------------------------------
    // One finger at a screen point, through the screen window's hit testing (the topmost alert
    // of that screen takes every touch while one shows). A touch down answers an error when
    // nothing takes it; move and up act on the touch in progress.
    std::string touch(Screen screen, TouchPhase phase, CGPoint point);
    std::string touchDown(Screen screen, CGPoint point);
    std::string touchMove(Screen screen, CGPoint point);
    std::string touchUp(Screen screen, CGPoint point);
    std::string tap(Screen screen, CGPoint point);
    // Down at `from`, `steps` moves along the line, up at `to`.
    std::string drag(Screen screen, CGPoint from, CGPoint to, int steps = 10);
    // Typing goes to the text field being edited: the one last touched, else the first field of
    // the topmost alert. Return ends the editing (a Settings row takes the text; an alert taps
    // its first button that is not the cancel button).
    std::string type(const std::string& text);
    std::string press(Key key);

    // --- Shorthands, each over the touch path above -------------------------------------------
    std::string openSettings(); // Hushmark's page from Settings' list
    std::string settingsBack();
    std::string tapRow(const std::string& label);
    std::string setRowSwitch(const std::string& label, bool on);
    std::string typeInRow(const std::string& label, const std::string& text);
    std::string pickRowSegment(const std::string& label, long index);
    // A tap, or a drag of ten moves, on the color page's picker, in picker coordinates.
    std::string tapPicker(CGPoint point);
    std::string dragPicker(CGPoint from, CGPoint to);
    // The color page's prompts: which is "hex", "red", "green" or "blue"; types and saves.
    std::string enterColor(const std::string& which, const std::string& text);
    // Taps the button titled `title` on the topmost alert of either screen (the extra button in
    // an alert's accessory view too), or a lock-screen alarm's "Snooze" or "slide to stop".
    std::string tapAlertButton(const std::string& title);

    // --- Reading what a person sees -----------------------------------------------------------
    // The screen's view tree as JSON:
    //   {"screen", "width", "height", "scale", "time",
    //    "views": VIEW,                  // the window, with "subviews"
    //    "alerts": [ALERT...],           // this screen's, oldest first
    //    "springboard": {"booted", "locked", "ringing": {"title", "canSnooze", "onLockScreen"}|null,
    //                    "statusItems": [{"identifier", "visible", "image"}],
    //                    "alarms": [{"id", "time", "label", "snooze", "daily", "enabled"}],
    //                    "nextAlarm": "YYYY-MM-DD HH:MM:SS"|null}                  (SpringBoard)
    //    "settings": {"page", "depth", "rows": [{"label", "value", "enabled", "background",
    //                 "textColor", "frame"}]}                                     (Settings)
    //    "editing": {"screen", "text"}|null}
    //   VIEW: {"class", "frame": {"x","y","width","height"} (screen points), "alpha",
    //          "hidden", "tag", "background": COLOR|null, and when they apply "text",
    //          "textColor", "title", "titleColor", "enabled", "highlighted", "actions", "value",
    //          "minimum", "maximum", "on", "placeholder", "subviews": [VIEW...]}
    //   ALERT: {"title", "message", "tag", "style", "frame", "buttons": [{"index", "title",
    //           "frame"}], "cancelButtonIndex", "textFields": [VIEW...], "accessory": VIEW|null}
    //   COLOR: "#RRGGBB", or "#RRGGBBAA" when not opaque.
    // Hidden views are listed (with "hidden": true) without their subviews.
    nlohmann::json inspect(Screen screen);
    // What both front ends show beside the screens:
    //   {"time", "timeZone", "locked", "booted", "alarms": [ALARM...], "nextAlarm"}
    //   ALARM: {"id", "time": "HH:MM:SS", "label", "snooze", "daily", "enabled"}
    nlohmann::json state() const;
    // The screen's extent in points (a Settings page may be taller than the screen).
    CGSize extent(Screen screen);
    SnapshotImage render(Screen screen, double scale = 0); // 0: the screen's own scale
    std::vector<uint8_t> png(Screen screen, double scale = 0);
    // SpringBoard's status bar alone.
    SnapshotImage renderStatusBar(double scale = 0);
    // Grows whenever the screen's rendered pixels differ from the last rendering this call made.
    uint64_t screenVersion(Screen screen);
    // One rendering for a front end that sends pictures: the screen's version (as
    // screenVersion) and, only when it differs from `knownVersion` (0 when the front end has
    // none yet), the PNG bytes.
    struct Frame {
        uint64_t version = 0;
        std::vector<uint8_t> png; // empty when the screen is unchanged
    };
    Frame frame(Screen screen, uint64_t knownVersion);
    // What changed on the screen since the last call (all of it at the first).
    ScreenChanges changes(Screen screen);
    // The picture `changes` keeps of the screen, as of its last call.
    SnapshotImage keptPicture(Screen screen) const;
    // The alerts shown on a screen, oldest first.
    std::vector<Ref<UIAlertView>> alertsOn(Screen screen);
    // The alarm ringing full screen on the lock screen, if any.
    std::optional<std::string> lockScreenAlarm() const;
    bool isStatusItemVisible(const std::string& identifier) const;
    // The Settings rows' texts, and the page's status row (empty without a page).
    std::vector<std::string> rowLabels();
    bool hasSettingsPage() const;
    SettingsApp* settingsApp() const { return settings_.get(); }
    SpringBoardHost* springBoard() const { return springboard_.get(); }

    // --- Events -------------------------------------------------------------------------------
    size_t eventCount() const;
    std::vector<DeviceEvent> events(size_t from = 0) const;
    // The listener runs on the thread that records (the device's); returns a token.
    int subscribe(std::function<void(const DeviceEvent&)> listener);
    void unsubscribe(int token);

  private:
    struct Windows;
    void claimAlerts(Screen acting);
    id window(Screen screen);
    std::string endEditing();
    std::string settled(Screen acting, std::string result);
    std::vector<CGPoint> pickerPoints(const std::vector<CGPoint>& points);
    bool loadRespringState();
    void dispatchEvent(const DeviceEvent& event);

    std::filesystem::path root_;
    DeviceSetup setup_;
    std::unique_ptr<SpringBoardHost> springboard_;
    std::unique_ptr<SettingsApp> settings_;
    std::unique_ptr<Windows> windows_;
    std::vector<AlarmRequest> pendingAlarms_; // set before boot
    bool locked_ = false;
    std::string resumeError_;
    PlistDict frontEndState_;
    std::map<int, std::function<void(const DeviceEvent&)>> listeners_;
    int nextToken_ = 1;
};

} // namespace sim
