// How long "Disarm Now" disarms: the stored minutes by the shared minutes-to-seconds rule
// (32-bit, wrapping as the device does), or an hour when no length is stored. Zero and negative
// lengths are used as they come. Pure.
#pragma once

#include <cstdint>
#include <optional>

int32_t disarmLengthSeconds(std::optional<int32_t> storedMinutes);
