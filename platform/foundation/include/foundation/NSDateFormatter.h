// Localized dates and times in the device's locale and time zone.
#pragma once

#include "foundation/NSDate.h"
#include "objc/runtime.h"

#include <string>

enum NSDateFormatterStyle : NSUInteger {
    NSDateFormatterNoStyle = 0,
    NSDateFormatterShortStyle = 1,
    NSDateFormatterMediumStyle = 2,
    NSDateFormatterLongStyle = 3,
    NSDateFormatterFullStyle = 4,
    // Short spellings of the same values.
    NoStyle = 0,
    ShortStyle = 1,
    MediumStyle = 2,
    LongStyle = 3,
    FullStyle = 4,
};

// +[NSDateFormatter localizedStringFromDate:dateStyle:timeStyle:]: short date with medium time
// reads "12/7/26, 10:30:00 AM" in en_US.
std::string NSDateFormatterLocalizedStringFromDate(NSDate date, NSDateFormatterStyle dateStyle,
                                                   NSDateFormatterStyle timeStyle);
// The same in a given locale and time zone (pure of device settings).
std::string localizedStringFromDate(NSDate date, NSDateFormatterStyle dateStyle,
                                    NSDateFormatterStyle timeStyle, const std::string& locale,
                                    const std::string& timeZone);
