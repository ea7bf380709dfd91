#include "springboard/PCSimpleTimer.h"

#include "foundation/DeviceEvents.h"
#include "foundation/RunLoop.h"
#include "springboard/SpringBoardEvents.h"

#include <algorithm>
#include <typeinfo>

namespace {
const ClassDef<PCSimpleTimer>
    kPCSimpleTimer("PCSimpleTimer", "NSObject",
                   {
                       method("initWithFireDate:serviceIdentifier:target:selector:userInfo:",
                              &PCSimpleTimer::initWithFireDateServiceIdentifierTargetSelectorUserInfo),
                       method("scheduleInRunLoop:", &PCSimpleTimer::scheduleInRunLoop),
                       method("invalidate", &PCSimpleTimer::invalidate),
                       method("isValid", &PCSimpleTimer::isValid),
                       method("fireDate", &PCSimpleTimer::fireDate),
                       method("userInfo", &PCSimpleTimer::userInfo),
                   });
} // namespace

id PCSimpleTimer::initWithFireDateServiceIdentifierTargetSelectorUserInfo(NSDate fireDate,
                                                                          std::string serviceIdentifier,
                                                                          id target, SEL selector,
                                                                          id userInfo) {
    fireDate_ = fireDate;
    serviceIdentifier_ = std::move(serviceIdentifier);
    target_ = std::move(target);
    selector_ = selector;
    userInfo_ = std::move(userInfo);
    return self();
}

void PCSimpleTimer::scheduleInRunLoop(id runLoop) {
    // Only the main run loop exists; a timer is scheduled once.
    if (!runLoop || !valid_ || scheduled_)
        return;
    scheduled_ = true;
    DeviceEvents::record(sbevent::kTimerArmed, serviceIdentifier_ + " at " + sbevent::utcText(fireDate_));
    // Early by the device's slack, but never by more than half the time the timer was set ahead
    // (a leeway proportional to the wait, as the system coalesces timers).
    const double ahead =
        fireDate_.timeIntervalSinceReferenceDate - NSDate::date().timeIntervalSinceReferenceDate;
    const double early = std::min(slack(), ahead > 0 ? ahead / 2 : 0.0);
    runLoopTimer_ = RunLoop::main().schedule(fireDate_.dateByAddingTimeInterval(-early),
                                             [keep = selfAs<PCSimpleTimer>()] { keep->fire(); });
}

namespace {
double& slackSeconds() {
    static double seconds = 0;
    return seconds;
}
} // namespace

void PCSimpleTimer::setSlack(double seconds) {
    slackSeconds() = seconds > 0 ? seconds : 0;
}
double PCSimpleTimer::slack() {
    return slackSeconds();
}

void PCSimpleTimer::invalidate() {
    if (!valid_)
        return;
    valid_ = false;
    id keepSelf = self(); // the run loop lets go of a scheduled timer on cancel
    if (scheduled_)
        RunLoop::main().cancel(runLoopTimer_);
    target_.reset();
    userInfo_.reset();
    DeviceEvents::record(sbevent::kTimerInvalidated, serviceIdentifier_);
}

void PCSimpleTimer::fire() {
    if (!valid_)
        return;
    valid_ = false;
    DeviceEvents::record(sbevent::kTimerFired, serviceIdentifier_);
    id target = std::move(target_); // released once the call returns
    if (!target || !selector_)
        return;
    const Method* m = target->isa ? target->isa->lookup(selector_) : nullptr;
    if (m && m->imp.signature == typeid(void(id))) {
        msg(target, selector_, self());
    } else {
        msg(target, selector_); // an unanswered selector or another signature stops loudly
    }
}
