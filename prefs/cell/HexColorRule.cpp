#include "cell/HexColorRule.h"

#include "foundation/NSScanner.h"

ColorChannels hexColorChannels(const std::string& text) {
    unsigned v = 0xFFFFFF; // stays when no digit follows; the scan's own verdict is not consulted
    NSScannerScanHexInt(text, "#", &v);
    if (v > 0xFFFFFF) v = 0xFFFFFF;
    return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}
