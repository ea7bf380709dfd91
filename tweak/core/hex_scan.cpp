#include "core/hex_scan.h"

namespace {
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

std::optional<std::uint32_t> scanHexSkippingHashes(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == '#') ++i;
    // "0x" counts only when a digit follows it; otherwise the "0" alone is the number.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        hexDigit(text[i + 2]) >= 0)
        i += 2;
    if (i >= text.size() || hexDigit(text[i]) < 0) return std::nullopt;

    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
        if (!overflow) value = value * 16 + static_cast<std::uint64_t>(hexDigit(text[i]));
        if (value > 0xFFFFFFFFu) overflow = true;
    }
    return overflow ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}
