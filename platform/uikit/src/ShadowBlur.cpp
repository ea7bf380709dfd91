#include "ShadowBlur.h"

#include <algorithm>
#include <vector>

namespace {
// One box pass along a line of `count` samples `step` bytes apart.
void boxLine(uint8_t* line, int count, int step, int radius, std::vector<int>& scratch) {
    scratch.assign(size_t(count), 0);
    for (int i = 0; i < count; ++i)
        scratch[size_t(i)] = line[long(i) * step];
    const int window = 2 * radius + 1;
    int sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += (i >= 0 && i < count) ? scratch[size_t(i)] : 0;
    for (int i = 0; i < count; ++i) {
        line[long(i) * step] = uint8_t((sum + window / 2) / window);
        const int out = i - radius, in = i + radius + 1;
        if (out >= 0)
            sum -= scratch[size_t(out)];
        if (in < count)
            sum += scratch[size_t(in)];
    }
}
} // namespace

void boxBlurAlpha(uint8_t* pixels, int width, int height, int bytesPerRow, int radius) {
    if (radius <= 0 || width <= 0 || height <= 0)
        return;
    std::vector<int> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y)
            boxLine(pixels + long(y) * bytesPerRow, width, 1, radius, scratch);
        for (int x = 0; x < width; ++x)
            boxLine(pixels + x, height, bytesPerRow, radius, scratch);
    }
}
