// The main run loop: main-queue blocks, timers and notification deliveries in due-time order
// (ties in posting order).
//
// Under the virtual clock the loop is driven: runUntil, runFor and drain run what falls due and
// move the clock. Under the system clock run() sleeps until the next due item or until another
// thread posts, until stop().
#pragma once

#include "foundation/NSDate.h"
#include "objc/runtime.h"

#include <cstdint>
#include <functional>
#include <optional>

class RunLoop {
  public:
    static RunLoop& main();

    // Thread-safe. Due now.
    void post(std::function<void()> work);
    // A timer; the result identifies it for cancel().
    uint64_t schedule(NSDate due, std::function<void()> work);
    void cancel(uint64_t timer);
    // Items waiting (not yet run, not cancelled), and when the first of them falls due.
    size_t pendingCount() const;
    std::optional<NSDate> nextDueDate() const;

    // The loop's thread: the one that last ran it, or before that the one that first touched it.
    bool isMainThread() const;

    // Virtual clock: runs every item due up to `date`, moving the clock to each item's due time,
    // then sets the clock to `date`.
    void runUntil(NSDate date);
    void runFor(double seconds);
    // Runs everything due now (also items that become due now while it runs).
    void drain();

    // System clock: runs until stop() (callable from any thread or from an item).
    void run();
    void stop();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

  private:
    RunLoop();
    struct State;
    State* state_;
};

// The main queue.
void dispatch_async_main(std::function<void()> work);
void dispatch_after_main(int64_t nanoseconds, std::function<void()> work);

// Runtime classes NSRunLoop (+mainRunLoop) and NSThread (+isMainThread).
bool NSThreadIsMainThread();
