// An image: straight (not premultiplied) RGBA pixels read from a PNG file. `imageNamed:` and
// `imageWithContentsOfFile:` take a device path (a name without an extension gets ".png") and
// pick the variant for the screen's scale ("name@2x.png" on a scale-2 screen), else a smaller
// one, else a larger one; a missing or unreadable file gives none. A file named "name@2x.png"
// is an image of scale 2 ("@3x": 3), measuring half (a third of) its pixels in points.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct UIImage : NSObject {
    CGSize size() const { return {double(width_) / scale_, double(height_) / scale_}; }
    CGFloat scale() const { return scale_; }

    // C++ side: the pixels, rows top to bottom, 4 bytes a pixel (R, G, B, A).
    size_t pixelWidth() const { return width_; }
    size_t pixelHeight() const { return height_; }
    const std::vector<uint8_t>& pixels() const { return pixels_; }
    // Reads a PNG at a host path; false when the file is missing or not a PNG.
    bool loadPNG(const std::string& hostPath);
    // Reads a PNG from its bytes; `name` (a file name) tells the scale. False when not a PNG.
    bool loadPNGBytes(std::string_view bytes, const std::string& name);

  private:
    void setPixels(size_t width, size_t height, std::vector<uint8_t> pixels, const std::string& name);

    size_t width_ = 0;
    size_t height_ = 0;
    CGFloat scale_ = 1;
    std::vector<uint8_t> pixels_;
};

// The image of a PNG at a host path, or none.
Ref<UIImage> UIImageFromHostPNG(const std::string& hostPath);
