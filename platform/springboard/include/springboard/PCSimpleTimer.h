// SpringBoard's simple timer: fires once, on the main run loop, at its date, by sending its
// selector to its target (with the timer as argument when the method takes one). The target is
// held strongly until the timer fires or is invalidated; a scheduled timer keeps itself alive
// until then. Never fires after `invalidate`. "At or near the date": with a slack set for the
// device, a timer fires that many seconds before its date, but never earlier than halfway
// between its scheduling and its date (the earliest the device allows).
#pragma once

#include "foundation/NSDate.h"
#include "objc/runtime.h"

#include <cstdint>
#include <string>

struct PCSimpleTimer : NSObject {
    NSDate fireDate_;
    std::string serviceIdentifier_;
    id target_;
    SEL selector_ = nullptr;
    id userInfo_;
    bool valid_ = true;
    bool scheduled_ = false;
    std::uint64_t runLoopTimer_ = 0;

    id initWithFireDateServiceIdentifierTargetSelectorUserInfo(NSDate fireDate, std::string serviceIdentifier,
                                                               id target, SEL selector, id userInfo);
    void scheduleInRunLoop(id runLoop);
    void invalidate();
    bool isValid() const { return valid_; }
    NSDate fireDate() const { return fireDate_; }
    id userInfo() const { return userInfo_; }

    // C++ side: how early the device lets timers fire, in seconds (0 by default).
    static void setSlack(double seconds);
    static double slack();

  private:
    void fire();
};
