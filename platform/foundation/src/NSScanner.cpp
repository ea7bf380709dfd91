// scanHexInt: skip set, optional 0x/0X, longest run of hex digits, saturating at 0xFFFFFFFF.
#include "foundation/NSScanner.h"

#include <cstdint>

namespace {
int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

bool NSScannerScanHexInt(std::string_view text, std::string_view skip, unsigned* result) {
    size_t i = 0;
    while (i < text.size() && skip.find(text[i]) != std::string_view::npos)
        ++i;
    // The prefix counts only when a digit follows it; otherwise the "0" alone is the number.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0)
        i += 2;
    if (i >= text.size() || hexDigit(text[i]) < 0)
        return false;
    uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<uint64_t>(hexDigit(text[i]));
        if (value > 0xFFFFFFFFull)
            overflow = true, value = 0xFFFFFFFFull;
    }
    if (result)
        *result = overflow ? 0xFFFFFFFFu : static_cast<unsigned>(value);
    return true;
}
