// NSScanner's hexadecimal scan on any text and skip set. The first byte of the input picks the
// skip set (white space, none, or a few letters and digits); the rest is the text. Checked: the
// result is the value of the hex digits after the skipped characters and an optional "0x", as
// read by std::from_chars, saturated at 32 bits; no digit means false and `result` untouched.
#include "foundation/NSScanner.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "hex scan rule broken: %s\n", what);
        std::abort();
    }
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

constexpr std::string_view kSkipSets[] = {" \t\n\r", "", "#", "0x", "a1 ", std::string_view("\0 ", 2)};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view skip = kSkipSets[data[0] % (sizeof kSkipSets / sizeof *kSkipSets)];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    size_t i = text.find_first_not_of(skip);
    if (i == std::string_view::npos)
        i = text.size();
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] | 0x20) == 'x' && isHex(text[i + 2]))
        i += 2;
    size_t end = i;
    while (end < text.size() && isHex(text[end]))
        ++end;

    unsigned result = 0xDEADBEEF;
    const bool found = NSScannerScanHexInt(text, skip, &result);
    check(found == (end > i), "a number is found exactly when a hex digit follows");
    check(NSScannerScanHexInt(text, skip, nullptr) == found, "a null result changes nothing");
    if (!found)
        return check(result == 0xDEADBEEF, "no number leaves the result untouched"), 0;
    uint64_t expected = 0;
    auto [stop, ec] = std::from_chars(text.data() + i, text.data() + end, expected, 16);
    check(stop == text.data() + end, "the digit run is read whole");
    if (ec == std::errc::result_out_of_range || expected > 0xFFFFFFFFu)
        expected = 0xFFFFFFFFu;
    check(result == expected, "the value is the digit run, saturated at 32 bits");
    return 0;
}
