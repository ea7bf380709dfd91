// The virtual device: one device root, one virtual clock, SpringBoard (with its tweaks) and the
// Settings app, each with the window a person looks at and touches. The device is a small facade
// over parts with one job each, which it hands out:
//   world()       the clock, the lock, Clock alarms, notifications, device files and settings keys
//                 (device/World.h);
//   input()       a person's touches and keys, and the shorthands over them (device/Input.h);
//   inspection()  the screens' view trees and the state beside them as JSON (device/Inspection.h);
//   pictures()    each screen drawn, encoded, and versioned (device/Pictures.h);
//   apps()        SpringBoard and Settings, their windows and alerts, boot (device/Apps.h).
// Front ends (the scenario runner, `inspect`, the browser server) only translate into calls on
// these; no step's logic lives in a front end.
//
// Threading. A device is single-threaded, as a phone's main thread is: make it, call it and
// destroy it on one thread, the process's main thread, which also drains the main run loop. A
// server thread never calls it: the browser front end's `DeviceHost` (sim/web) runs on the main
// thread, and server threads hand it work through its queue (`DeviceHost::call`) and wait for
// the answer. One device per process (the platform holds one runtime, one loop and one root).
//
// Results. Every action answers "" when it was carried out, else a sentence saying why not
// ("no alert is shown"). Nothing throws. An action runs what falls due at once (the main
// queue is drained), so its effects are visible when it returns. Points are screen points,
// (0, 0) at the top left; the pictures are `scale` pixels a point.
//
// Events. Everything the device does is a `DeviceEvent` (time, kind, detail): alarms, alerts,
// timers, status items, file writes, Darwin posts ("posted"), log lines ("log"), the clock moved
// by a front end ("clock set"). Read them by cursor (`events(from)`: the index of the first
// event you have not seen; `eventCount()` is the next cursor) or subscribe for each as it is
// recorded.
//
// Respring. A loaded library's constructor runs once per process, so a respring relaunches the
// process, as SpringBoard relaunches on a phone: `saveForRespring` writes the device's state
// (clock, lock, Clock alarms, and whatever the front end adds) into the device root, then the
// front end re-executes itself (`relaunch` does it with execv; a server may keep its listening
// socket open across the exec) and the new process makes its device with `Options::resume`,
// which reads the state back, boots, and hands the front end its part. Clock alarms carry over
// (a pending snooze does not); Settings starts again on no page.
#pragma once

#include "device/Apps.h"
#include "device/DeviceSetup.h"
#include "device/Input.h"
#include "device/Inspection.h"
#include "device/Pictures.h"
#include "device/World.h"

#include "foundation/DeviceEvents.h"
#include "foundation/NSDate.h"
#include "foundation/PlistValue.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sim {

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

    // --- The parts ----------------------------------------------------------------------------
    World& world() { return world_; }
    const World& world() const { return world_; }
    Input& input() { return input_; }
    Inspection& inspection() { return inspection_; }
    Pictures& pictures() { return pictures_; }
    Apps& apps() { return apps_; }
    const Apps& apps() const { return apps_; }

    // --- Life cycle -----------------------------------------------------------------------------
    // Starts SpringBoard (tweaks loaded, `applicationDidFinishLaunching:`) and Settings.
    std::string boot() { return apps_.boot(); }
    bool isBooted() const { return apps_.isBooted(); }
    NSDate now() const { return world_.now(); }
    // Writes the state a relaunched process resumes from; false when it cannot be written.
    bool saveForRespring(const PlistDict& frontEndState);
    // Replaces this process with `argv` (argv[0] a path); answers only when that fails.
    static std::string relaunch(const std::vector<std::string>& argv) { return Apps::relaunch(argv); }

    // --- Events ---------------------------------------------------------------------------------
    size_t eventCount() const;
    std::vector<DeviceEvent> events(size_t from = 0) const;
    // The listener runs on the thread that records (the device's); returns a token.
    int subscribe(std::function<void(const DeviceEvent&)> listener);
    void unsubscribe(int token);

  private:
    bool loadRespringState();
    void dispatchEvent(const DeviceEvent& event);

    std::filesystem::path root_;
    DeviceSetup setup_;
    // Declared so that the hosts outlive the parts that keep their views.
    Apps apps_;
    World world_;
    Input input_;
    Inspection inspection_;
    Pictures pictures_;
    std::string resumeError_;
    PlistDict frontEndState_;
    std::map<int, std::function<void(const DeviceEvent&)>> listeners_;
    int nextToken_ = 1;
};

} // namespace sim
