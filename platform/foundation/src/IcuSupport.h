// Small helpers shared by the ICU-based formatters.
#pragma once

#include <string>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <memory>

std::string toUtf8(const icu::UnicodeString& text);
// The zone for an Olson name; UTC when ICU does not know it.
std::unique_ptr<icu::TimeZone> timeZoneNamed(const std::string& olsonName);
// ICU milliseconds since 1970 for a date.
double icuMillis(double timeIntervalSinceReferenceDate);
// Narrow no-break spaces (which newer ICU puts before AM/PM) as the plain spaces a device shows.
std::string withPlainSpaces(std::string text);
