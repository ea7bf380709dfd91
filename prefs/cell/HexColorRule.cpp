#include "cell/HexColorRule.h"

#include "foundation/NSScanner.h"
#include "rules/ColorText.h"

ColorChannels hexColorChannels(const std::string& text) {
    return channelsOfValue(colorValueOfText(text, NSScannerScanHexInt));
}
