// Localized dates through ICU, whose styles match the device's for the same locale.
#include "foundation/NSDateFormatter.h"

#include "IcuSupport.h"
#include "foundation/DeviceEnvironment.h"

#include <memory>
#include <unicode/datefmt.h>

namespace {
icu::DateFormat::EStyle icuStyle(NSDateFormatterStyle style) {
    switch (style) {
    case NSDateFormatterShortStyle:
        return icu::DateFormat::kShort;
    case NSDateFormatterMediumStyle:
        return icu::DateFormat::kMedium;
    case NSDateFormatterLongStyle:
        return icu::DateFormat::kLong;
    case NSDateFormatterFullStyle:
        return icu::DateFormat::kFull;
    default:
        return icu::DateFormat::kNone;
    }
}
} // namespace

std::string localizedStringFromDate(NSDate date, NSDateFormatterStyle dateStyle,
                                    NSDateFormatterStyle timeStyle, const std::string& locale,
                                    const std::string& timeZone) {
    auto d = icuStyle(dateStyle);
    auto t = icuStyle(timeStyle);
    if (d == icu::DateFormat::kNone && t == icu::DateFormat::kNone)
        return "";
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateTimeInstance(d, t, icu::Locale(locale.c_str())));
    if (!format)
        return "";
    format->adoptTimeZone(timeZoneNamed(timeZone).release());
    icu::UnicodeString text;
    format->format(icuMillis(date.timeIntervalSinceReferenceDate), text);
    return withPlainSpaces(toUtf8(text));
}

std::string NSDateFormatterLocalizedStringFromDate(NSDate date, NSDateFormatterStyle dateStyle,
                                                   NSDateFormatterStyle timeStyle) {
    return localizedStringFromDate(date, dateStyle, timeStyle, DeviceEnvironment::locale(),
                                   DeviceEnvironment::timeZone());
}
