// Dates in property lists, past libplist 2.2's date calls.
//
// libplist keeps a date as a double of seconds since 2001, and both its file formats carry that
// range, but its API hands dates in and out as 32-bit seconds plus microseconds (years 1933 to
// 2069 only), its XML writer drops the fraction and its XML reader ignores it. So the stand-in
// never passes a real date through that API: it gives libplist a small index in place of each
// date (an index is a few seconds after 2001, well inside the 32-bit range) and keeps the
// dates themselves beside the tree, reading and writing their bytes in the file itself:
//  - binary: the date object's eight bytes are the double, exactly (any double);
//  - XML: the text of the <date> element, "2026-12-07T08:20:10Z", in whole seconds as the
//    device writes it (the fraction is dropped: strict readers refuse any other form); a
//    fraction in a file is still read. Years beyond 9999 or before 1 are written "+12345-" or
//    "-0001-" (years counted as astronomers do: 0 is 1 BC).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// XML date text in whole seconds (the second that holds the date); the date's years are clamped
// to what the text can carry (about ±10^11 years), and a date that is not a number is the
// reference date.
std::string plistDateText(double secondsSince2001);
// The date a <date> text names (blanks around it ignored; the "Z" may be left out); none when
// the text is not such a date.
std::optional<double> plistDateFromText(std::string_view text);

// A date's double as the binary format stores it (big-endian), and back.
void storeBigEndianDouble(double value, unsigned char out[8]);
double loadBigEndianDouble(const unsigned char in[8]);
