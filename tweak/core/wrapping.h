// 32-bit signed multiplication that wraps on overflow as the device's does, without the
// undefined behaviour of a signed overflow in C++.
#pragma once

#include <cstdint>

constexpr std::int32_t wrappingMultiply(std::int32_t a, std::int32_t b) {
    // Unsigned arithmetic wraps by definition; the conversion back is modular since C++20.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
