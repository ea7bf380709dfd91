#include "IcuSupport.h"

#include "foundation/NSDate.h"

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::unique_ptr<icu::TimeZone> timeZoneNamed(const std::string& olsonName) {
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(olsonName)));
    if (!zone || *zone == icu::TimeZone::getUnknown())
        zone.reset(icu::TimeZone::createTimeZone("UTC"));
    return zone;
}

double icuMillis(double t) {
    return (t + kNSTimeIntervalSince1970) * 1000.0;
}

std::string withPlainSpaces(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\xE2\x80\xAF") == 0) { // U+202F
            out += ' ';
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}
