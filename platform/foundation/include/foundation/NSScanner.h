// NSScanner's hexadecimal scan (scanHexInt:), as a pure function.
#pragma once

#include <string_view>

// Skips leading characters found in `charactersToBeSkipped` (nothing else: white space only when
// it is in the set), accepts an optional "0x" or "0X", then reads the longest run of hexadecimal
// digits of either case. A run too large for 32 bits gives 0xFFFFFFFF. Returns false and leaves
// `result` untouched when no digit follows. `result` may be null.
bool NSScannerScanHexInt(std::string_view text, std::string_view charactersToBeSkipped, unsigned* result);
