// The device clock: the system clock, or a virtual clock that moves only when the run loop
// advances it (or a test sets it).
#pragma once

#include "foundation/NSDate.h"

class DeviceClock {
  public:
    static void useVirtual(NSDate start);
    static void useSystem();
    static bool isVirtual();
    static NSDate now();
    // Sets the virtual clock (forward or backward). Ignored under the system clock.
    static void setVirtualNow(NSDate now);
};
