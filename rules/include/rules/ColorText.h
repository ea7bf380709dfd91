// The stored color text ("#" and six hex digits as the color cell writes it) and the black or
// white text drawn on that color: one reading for the tweak's alert button, the root page's
// "Button Color" row and the color cell.
#pragma once

#include <cstdint>
#include <string_view>

// NSScanner's scanHexInt: with a set of characters to skip. Each deliverable passes the one its
// platform gives; the rules include nothing of the platform.
using HexIntScanner = bool (*)(std::string_view text, std::string_view charactersToBeSkipped,
                               unsigned* result);

inline constexpr std::uint32_t kWhiteColorValue = 0xFFFFFF;

// The text's 24-bit value: leading "#" characters skipped (white space is not), an optional
// "0x" or "0X", the longest run of hex digits of either case. A text without a digit reads as
// white, and so does any value above 0xFFFFFF (a run too long for 32 bits included).
inline std::uint32_t colorValueOfText(std::string_view text, HexIntScanner scanHexInt) {
    unsigned value = kWhiteColorValue; // kept when no digit follows: the scan's verdict is not consulted
    scanHexInt(text, "#", &value);
    return value > kWhiteColorValue ? kWhiteColorValue : value;
}

// A color's red, green and blue, each meant to lie in 0 to 255.
struct ColorChannels {
    int r = 0, g = 0, b = 0;
    bool operator==(const ColorChannels&) const = default;
};

// Red is bits 16 to 23 of the value, green bits 8 to 15, blue bits 0 to 7.
inline constexpr ColorChannels channelsOfValue(std::uint32_t value) {
    return {static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
            static_cast<int>(value & 0xFF)};
}

// The ITU-R BT.709 luma over 0 to 255, in double precision, summed red, green, blue.
inline constexpr double lumaOf(ColorChannels c) {
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

// Black text while the color's darkness 1 - luma/255 is below one half; white from one half
// on (a luma of 127.5 or less).
inline constexpr bool takesBlackText(ColorChannels c) {
    return 1.0 - lumaOf(c) / 255.0 < 0.5;
}
