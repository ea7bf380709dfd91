#include "device/StopSignals.h"

#include <unistd.h>

namespace sim::stopsignals {
namespace {

// Written by the handler only; lock-free, so safe to touch there.
volatile sig_atomic_t gCaught = 0;
std::atomic<bool> gRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onStopSignal(int signal) {
    gCaught = signal;
    gRequested.store(true);
    ::alarm(1); // see onNudge
}

// A blocking call begun after the stop signal (between the loop's look at the flag and the call)
// would wait on: SIGALRM, each second from the stop on, ends it too (EINTR).
extern "C" void onNudge(int) {
    if (gCaught)
        ::alarm(1);
}

sigset_t stopSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, s);
    return set;
}

} // namespace

void catchThem() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocking call returns, and the loop sees the flag
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &action, nullptr);
    action.sa_handler = onNudge;
    sigaction(SIGALRM, &action, nullptr);
    const sigset_t set = stopSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr); // one pending from before the exec arrives now
}

int caught() {
    return gCaught;
}

const std::atomic<bool>* requested() {
    return &gRequested;
}

HeldAcrossExec::HeldAcrossExec() {
    const sigset_t set = stopSet();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

HeldAcrossExec::~HeldAcrossExec() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace sim::stopsignals
