// The device's thread for the browser front end. A device is single-threaded: it is made, called
// and destroyed on the thread that runs `run()` (the process's main thread, which runs the main
// run loop). Server threads never touch it: they `call` work onto that thread through a small
// queue and wait for the answer. Between calls the device thread lets the clock run at the chosen
// rate (paused, 1x, 60x, 3600x), and publishes what viewers see: each screen's picture (only when
// its version changed), the timeline's lines and the controls' state.
//
// Touch moves are coalesced to the display's 60 Hz tick: while a move waits in the queue, a newer
// move on the same screen replaces its point instead of queueing another, and moves alone wait
// for the tick after the last picture drawn for input (an isolated move runs at once).
//
// Pictures: each screen is drawn again only where its views changed; viewers get a screen's
// whole picture when it is new (or its size changed, or after many tiles) and otherwise the
// changed rectangles alone, each as PNG.
#pragma once

#include "AddonChoices.h"
#include "Fingers.h"
#include "device/DeviceImage.h"
#include "Publication.h"
#include "SessionRecorder.h"

#include "coregraphics/CGGeometry.h"
#include "device/Device.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace sim::web {

// An answer for a client: an HTTP status and a JSON body.
struct Reply {
    int status = 200;
    nlohmann::json body = nlohmann::json::object();
    static Reply ok(nlohmann::json body = nlohmann::json::object());
    static Reply error(int status, const std::string& message);
};

class DeviceHost {
  public:
    // `device` is booted; the host publishes the timeline in `timeZone`.
    DeviceHost(Device& device, std::string timeZone);
    ~DeviceHost();

    // Any thread but the device's: runs `work` on the device thread and waits for its answer
    // (503 when the host stops first).
    Reply call(std::function<Reply(Device&)> work);
    // A touch move, coalesced with a waiting one on the same screen.
    Reply move(Screen screen, CGPoint point);

    // The device thread: runs until `stop`, then answers whatever still waits with 503.
    void run();
    // Any thread (a signal handler's flag is polled: see `stopWhen`).
    void stop();
    // `run` also ends when this turns true (checked a few times a second).
    void stopWhen(const std::atomic<bool>* flag) { externalStop_ = flag; }

    // Device thread only (inside `call`): the clock's rate, 0 for paused.
    void setRate(double rate);
    double rate() const { return rate_; }
    // Any thread: the extent of a screen's last picture in points (a settings page may be taller
    // than the screen).
    CGSize extent(Screen screen) const;
    // Device thread (inside `call`): the screen a person touched (its extent is read again after
    // this call: a Settings page may have grown).
    void touched(Screen screen) { touched_ = screen; }
    // Device thread (inside `call`): stop once the answer is sent, so the program relaunches.
    void requestRelaunch();
    bool relaunchRequested() const;
    // Device thread (inside `call`): relaunch as a fresh device laid out with `options`.
    void requestReset(DeviceImageOptions options);
    // After `run`: the fresh device's options when a reset asked for the relaunch.
    const std::optional<DeviceImageOptions>& resetRequested() const { return reset_; }

    Publication& publication() { return publication_; }
    // Device thread only: what the person did since the boot, as a scenario.
    SessionRecorder& session() { return session_; }
    // Any thread: which page's finger is down on each screen.
    Fingers& fingers() { return fingers_; }
    // Device thread only: a scenario being played, as the page shows it (null when none).
    void setPlaying(nlohmann::json playing) { playing_ = std::move(playing); }
    // Any thread: event-stream viewers that have connected so far.
    void viewerJoined() { ++viewers_; }
    int viewersSoFar() const { return viewers_; }
    // Device thread only: the add-ons chosen for the next respring.
    AddonChoices& addons() { return addons_; }

  private:
    struct Task {
        std::function<void()> run;
        std::function<void()> abandon;
        bool move = false; // a touch move, which may wait for the next tick
    };
    struct PendingMove {
        Screen screen;
        CGPoint point;
    };
    void post(Task task);
    void tick(bool acted);
    void publish(bool force);
    void publishScreen(Screen screen);
    bool onlyMovesQueued() const; // with the lock held
    nlohmann::json state();

    Device& device_;
    Publication publication_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> queue_;
    std::shared_ptr<PendingMove> pendingMove_; // the move still waiting in the queue, if any
    bool stopping_ = false;
    bool relaunch_ = false;
    const std::atomic<bool>* externalStop_ = nullptr;
    int listener_ = 0;

    CGSize extents_[kScreenCount];
    AddonChoices addons_;
    SessionRecorder session_;
    Fingers fingers_;
    nlohmann::json playing_;
    std::atomic<int> viewers_{0};
    std::optional<DeviceImageOptions> reset_;

    // Device thread only.
    double rate_ = 0;
    std::chrono::steady_clock::time_point lastTick_, lastPublish_;
    std::optional<Screen> touched_;
    uint64_t versions_[kScreenCount] = {};
    std::string lastState_;
};

} // namespace sim::web
