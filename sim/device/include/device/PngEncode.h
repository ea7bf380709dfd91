// A rendered picture as PNG bytes in memory (8-bit RGBA), for a front end to send or save.
#pragma once

#include "uikit/UISnapshot.h"

#include <cstdint>
#include <vector>

namespace sim {
// Empty when the picture is empty or cannot be encoded. `level` is zlib's (0 stores, 9 packs most).
std::vector<uint8_t> encodePng(const SnapshotImage& image, int level = 1);
} // namespace sim
