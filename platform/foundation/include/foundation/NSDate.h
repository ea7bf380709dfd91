// A point in time: seconds since 2001-01-01 00:00:00 UTC, as the device counts them.
#pragma once

#include "objc/runtime.h"

enum NSComparisonResult : NSInteger { NSOrderedAscending = -1, NSOrderedSame = 0, NSOrderedDescending = 1 };

// Seconds between the Unix epoch (1970) and the device's reference date (2001).
inline constexpr double kNSTimeIntervalSince1970 = 978307200.0;

struct NSDate {
    double timeIntervalSinceReferenceDate = 0;

    // Now, from the device clock (virtual or system).
    static NSDate date();
    static NSDate dateWithTimeIntervalSinceNow(double seconds);
    static NSDate dateWithTimeIntervalSinceReferenceDate(double seconds) { return NSDate{seconds}; }
    static NSDate dateWithTimeIntervalSince1970(double unixSeconds) {
        return NSDate{unixSeconds - kNSTimeIntervalSince1970};
    }

    NSDate dateByAddingTimeInterval(double seconds) const {
        return NSDate{timeIntervalSinceReferenceDate + seconds};
    }
    double timeIntervalSinceDate(NSDate other) const {
        return timeIntervalSinceReferenceDate - other.timeIntervalSinceReferenceDate;
    }
    double timeIntervalSinceNow() const;
    double timeIntervalSince1970() const { return timeIntervalSinceReferenceDate + kNSTimeIntervalSince1970; }
    NSComparisonResult compare(NSDate other) const {
        if (timeIntervalSinceReferenceDate < other.timeIntervalSinceReferenceDate)
            return NSOrderedAscending;
        if (timeIntervalSinceReferenceDate > other.timeIntervalSinceReferenceDate)
            return NSOrderedDescending;
        return NSOrderedSame;
    }

    bool operator==(const NSDate& other) const = default;
    auto operator<=>(const NSDate& other) const = default;
};

namespace objc {
template <> struct TypeEncoding<NSDate> { static constexpr const char* value = "@"; };
} // namespace objc
