// Reading the hexadecimal number of a color text the way the device's scanner does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Skips leading "#" characters (nothing else), accepts an optional "0x" or "0X" and reads the
// longest run of hexadecimal digits; a run too large for 32 bits reads as 0xFFFFFFFF. None when
// no digit follows.
std::optional<std::uint32_t> scanHexSkippingHashes(std::string_view text);
