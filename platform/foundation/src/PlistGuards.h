// The limits that make reading any property list cheap, checked on the bytes before libplist
// sees them, where libplist itself would blow up: it expands a binary object each time it is
// referenced (twenty levels of arrays that each hold the one below twice make a million nodes
// from 300 bytes), it recurses once per level in both formats, and it aborts on a string whose
// length disagrees with its NULs. Neither scan parses values: the XML one only finds where
// elements open and close, the binary one only follows the offset table and container refs.
// Past a limit the bytes read as no property list, as a file that is unreadable.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A settings file is a few hundred bytes, a strings table a few kilobytes.
inline constexpr std::size_t kMaxPropertyListBytes = 1 << 20;
// Levels of values: a dictionary of numbers is 2; real files stay under 10.
inline constexpr int kMaxPropertyListNesting = 32;
// Values built, counting a shared binary object once for each reference to it (dictionary keys
// count too): far above the few hundred of the device's own preference files, and low enough
// that libplist builds the largest tree allowed in tens of milliseconds.
inline constexpr std::size_t kMaxPropertyListNodes = 20'000;

// Where a date is, in bytes the scan looked at: for XML the text of a <date> element, for
// binary the eight bytes of a date object's double.
struct PlistDateSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};

struct PlistScan {
    bool binary = false;
    std::vector<PlistDateSpan> dates; // in the order of the bytes, each date object once
};

// None when the bytes break a limit or have a shape libplist cannot be trusted with: XML with
// a NUL byte, an empty or nested <date>; binary with a cycle, a reference or offset outside
// the file, or a UTF-16 string holding U+0000.
std::optional<PlistScan> scanPropertyList(std::string_view bytes);
