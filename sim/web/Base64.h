// Base64 (RFC 4648, with padding), for pictures sent as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim::web {
std::string base64(const std::vector<uint8_t>& bytes);
} // namespace sim::web
