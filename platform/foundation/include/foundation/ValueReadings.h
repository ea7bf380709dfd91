// The device's readings of text as a number (NSString boolValue, intValue, integerValue,
// floatValue, doubleValue) and of one number as another. Pure functions.
//
// Text: leading white space is skipped, then an optional sign. Integers read the leading run of
// decimal digits and clamp to the type's range; text without a digit reads 0. Reals read digits,
// an optional fraction and an optional exponent; "inf", "nan" and hexadecimal floats are not
// numbers here and read 0. Booleans are true when, after white space, sign and leading zeros,
// the first character is one of "YyTt" or a digit 1 to 9.
#pragma once

#include "objc/runtime.h"

#include <cstdint>
#include <string_view>

bool NSStringBoolValue(std::string_view text);
int NSStringIntValue(std::string_view text);
NSInteger NSStringIntegerValue(std::string_view text);
float NSStringFloatValue(std::string_view text);
double NSStringDoubleValue(std::string_view text);

// A real read as an integer: its integer part, saturating at the type's limits (0 for NaN).
int NSNumberIntValueOfReal(double value);
NSInteger NSNumberIntegerValueOfReal(double value);
