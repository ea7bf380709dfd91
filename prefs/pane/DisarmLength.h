// How long "Disarm Now" disarms: the stored minutes times 60 in 32-bit signed arithmetic
// (wrapping as the device does), or an hour when no length is stored. Zero and negative
// lengths are used as they come. Pure.
#pragma once

#include <cstdint>
#include <optional>

inline constexpr int32_t kDefaultDisarmSeconds = 3600;

int32_t disarmLengthSeconds(std::optional<int32_t> storedMinutes);
