// The signals that ask the simulator to stop: SIGINT (Ctrl-C), SIGTERM and SIGHUP (the terminal
// closed). Caught, they set a flag that the front end's loop reads between its steps, so the
// program stops where it can clean up (a run removes its temporary root) rather than where the
// signal lands. Nothing but the flag is touched in the handler.
#pragma once

#include <atomic>
#include <signal.h>

namespace sim::stopsignals {

// From now on each of the signals sets the flag; a blocking call it arrives in returns early
// (EINTR: no restart), so a step waiting on a pipe or a FIFO ends too, and so does one begun
// after it (SIGALRM ends it within a second). Unblocks them as well: a program replaced by a
// respring receives them blocked (see HeldAcrossExec).
void catchThem();

// The signal caught (the latest), 0 while none was.
int caught();

// True once one was caught, for loops that poll an atomic flag.
const std::atomic<bool>* requested();

// The three signals blocked while it lives: one arriving while the program replaces itself
// (execv keeps the blocked set and what is pending) waits for the new image's catchThem instead
// of killing the process half-way. The old set returns when it goes (a failed exec).
class HeldAcrossExec {
  public:
    HeldAcrossExec();
    ~HeldAcrossExec();
    HeldAcrossExec(const HeldAcrossExec&) = delete;
    HeldAcrossExec& operator=(const HeldAcrossExec&) = delete;

  private:
    sigset_t previous_;
};

} // namespace sim::stopsignals
