// Softening a shadow's mask: three box blurs in a row approximate a Gaussian blur.
#pragma once

#include <cstddef>
#include <cstdint>

// Blurs an 8-bit alpha image in place; `radius` is the box half-width in pixels (0: nothing).
void boxBlurAlpha(uint8_t* pixels, int width, int height, int bytesPerRow, int radius);
