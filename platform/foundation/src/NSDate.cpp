// NSDate's links to the device clock.
#include "foundation/NSDate.h"

#include "foundation/DeviceClock.h"

NSDate NSDate::date() {
    return DeviceClock::now();
}

NSDate NSDate::dateWithTimeIntervalSinceNow(double seconds) {
    return date().dateByAddingTimeInterval(seconds);
}

double NSDate::timeIntervalSinceNow() const {
    return timeIntervalSinceDate(date());
}
