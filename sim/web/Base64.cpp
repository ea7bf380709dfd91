#include "Base64.h"

namespace sim::web {

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t v = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        out += {kDigits[v >> 18], kDigits[v >> 12 & 63], kDigits[v >> 6 & 63], kDigits[v & 63]};
    }
    if (i + 1 == bytes.size()) {
        const uint32_t v = uint32_t(bytes[i]) << 16;
        out += {kDigits[v >> 18], kDigits[v >> 12 & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const uint32_t v = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8;
        out += {kDigits[v >> 18], kDigits[v >> 12 & 63], kDigits[v >> 6 & 63], '='};
    }
    return out;
}

} // namespace sim::web
