// The main run loop. Items are kept in (due, sequence) order, so ties run in posting order.
#include "foundation/RunLoop.h"

#include "foundation/DeviceClock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

struct RunLoop::State {
    using Key = std::pair<double, uint64_t>; // due (seconds since 2001), sequence
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::map<Key, std::function<void()>> items;
    std::unordered_map<uint64_t, double> dueOf;
    uint64_t nextSequence = 1;
    std::thread::id thread = std::this_thread::get_id();
    bool stopRequested = false;

    // Takes the first item if it is due at or before `limit`.
    bool takeDue(double limit, double& due, std::function<void()>& work) {
        std::lock_guard lock(mutex);
        if (items.empty() || items.begin()->first.first > limit)
            return false;
        auto first = items.begin();
        due = first->first.first;
        work = std::move(first->second);
        dueOf.erase(first->first.second);
        items.erase(first);
        return true;
    }

    void claimThread() {
        std::lock_guard lock(mutex);
        thread = std::this_thread::get_id();
    }
};

RunLoop::RunLoop() : state_(new State) {}

RunLoop& RunLoop::main() {
    // Never destroyed: items may still be posted while the process exits.
    static RunLoop* loop = new RunLoop();
    return *loop;
}

uint64_t RunLoop::schedule(NSDate due, std::function<void()> work) {
    uint64_t sequence;
    {
        std::lock_guard lock(state_->mutex);
        sequence = state_->nextSequence++;
        state_->items.emplace(State::Key{due.timeIntervalSinceReferenceDate, sequence}, std::move(work));
        state_->dueOf.emplace(sequence, due.timeIntervalSinceReferenceDate);
    }
    state_->wake.notify_all();
    return sequence;
}

void RunLoop::post(std::function<void()> work) {
    schedule(DeviceClock::now(), std::move(work));
}

void RunLoop::cancel(uint64_t timer) {
    std::lock_guard lock(state_->mutex);
    auto it = state_->dueOf.find(timer);
    if (it == state_->dueOf.end())
        return;
    state_->items.erase(State::Key{it->second, timer});
    state_->dueOf.erase(it);
}

size_t RunLoop::pendingCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->items.size();
}

std::optional<NSDate> RunLoop::nextDueDate() const {
    std::lock_guard lock(state_->mutex);
    if (state_->items.empty())
        return std::nullopt;
    return NSDate{state_->items.begin()->first.first};
}

bool RunLoop::isMainThread() const {
    std::lock_guard lock(state_->mutex);
    return state_->thread == std::this_thread::get_id();
}

void RunLoop::runUntil(NSDate date) {
    state_->claimThread();
    double due = 0;
    std::function<void()> work;
    bool isVirtual = DeviceClock::isVirtual();
    // Under the system clock nothing waits: only what is already due runs.
    double limit = isVirtual ? date.timeIntervalSinceReferenceDate
                             : std::min(date.timeIntervalSinceReferenceDate,
                                        DeviceClock::now().timeIntervalSinceReferenceDate);
    while (state_->takeDue(limit, due, work)) {
        if (isVirtual && due > DeviceClock::now().timeIntervalSinceReferenceDate)
            DeviceClock::setVirtualNow(NSDate{due});
        work();
        work = nullptr;
        if (!isVirtual)
            limit = std::min(date.timeIntervalSinceReferenceDate,
                             DeviceClock::now().timeIntervalSinceReferenceDate);
    }
    if (isVirtual && date > DeviceClock::now())
        DeviceClock::setVirtualNow(date);
}

void RunLoop::runFor(double seconds) {
    runUntil(DeviceClock::now().dateByAddingTimeInterval(seconds));
}

void RunLoop::drain() {
    state_->claimThread();
    double due = 0;
    std::function<void()> work;
    while (state_->takeDue(DeviceClock::now().timeIntervalSinceReferenceDate, due, work)) {
        work();
        work = nullptr;
    }
}

void RunLoop::run() {
    state_->claimThread();
    double due = 0;
    std::function<void()> work;
    for (;;) {
        if (DeviceClock::isVirtual()) {
            // Nothing moves a virtual clock but the loop: jump to each item in turn.
            {
                std::lock_guard lock(state_->mutex);
                if (state_->stopRequested || state_->items.empty())
                    break;
            }
            if (state_->takeDue(std::numeric_limits<double>::infinity(), due, work)) {
                if (due > DeviceClock::now().timeIntervalSinceReferenceDate)
                    DeviceClock::setVirtualNow(NSDate{due});
                work();
                work = nullptr;
            }
            continue;
        }
        if (state_->takeDue(DeviceClock::now().timeIntervalSinceReferenceDate, due, work)) {
            work();
            work = nullptr;
            continue;
        }
        std::unique_lock lock(state_->mutex);
        if (state_->stopRequested)
            break;
        if (state_->items.empty()) {
            state_->wake.wait(lock);
        } else {
            // Waits in slices of at most an hour, so far-off dates (distantFuture) cannot overflow.
            // A NaN date waits not at all (a wait converts to whole nanoseconds).
            double wait =
                state_->items.begin()->first.first - DeviceClock::now().timeIntervalSinceReferenceDate;
            wait = std::isnan(wait) ? 0.0 : std::clamp(wait, 0.0, 3600.0);
            state_->wake.wait_for(lock, std::chrono::duration<double>(wait));
        }
    }
    std::lock_guard lock(state_->mutex);
    state_->stopRequested = false;
}

void RunLoop::stop() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopRequested = true;
    }
    state_->wake.notify_all();
}

void dispatch_async_main(std::function<void()> work) {
    RunLoop::main().post(std::move(work));
}

void dispatch_after_main(int64_t nanoseconds, std::function<void()> work) {
    double seconds = nanoseconds > 0 ? static_cast<double>(nanoseconds) / 1e9 : 0.0;
    RunLoop::main().schedule(DeviceClock::now().dateByAddingTimeInterval(seconds), std::move(work));
}

bool NSThreadIsMainThread() {
    return RunLoop::main().isMainThread();
}

namespace {
struct NSRunLoop : NSObject {};
struct NSThread : NSObject {};

const ClassDef<NSRunLoop>
    kNSRunLoop("NSRunLoop", "NSObject",
               {
                   classMethod("mainRunLoop",
                               [](Object* cls) -> id {
                                   static id shared = msg<id>(
                                       msg<id>(classObject(static_cast<Class*>(cls)), "alloc"), "init");
                                   return shared;
                               }),
                   classMethod("currentRunLoop",
                               [](Object* cls) -> id {
                                   return NSThreadIsMainThread()
                                              ? msg<id>(classObject(static_cast<Class*>(cls)), "mainRunLoop")
                                              : nullptr;
                               }),
               });

const ClassDef<NSThread>
    kNSThread("NSThread", "NSObject",
              {
                  classMethod("isMainThread", [](Object*) -> bool { return NSThreadIsMainThread(); }),
              });
} // namespace
