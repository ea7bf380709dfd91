// The conversions between straight RGBA and Cairo's premultiplied ARGB32, for every alpha and
// channel value: straight = round(c * 255 / a) (0 where a is 0), premultiplied =
// round(c * a / 255); opaque pixels keep their channels either way.
#include "LayerRenderer.h"
#include "Painter.h"
#include "uikit/UISnapshot.h"

#include <cairo.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PixelConversion, EveryPremultipliedValueBecomesItsStraightValue) {
    // Row a, column c: alpha a, red c, green 255 - c, blue c / 2 (values past alpha included).
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 256, 256);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c) {
            const uint32_t p = a << 24 | c << 16 | (255 - c) << 8 | c / 2;
            std::memcpy(data + a * uint32_t(stride) + c * 4, &p, 4);
        }
    cairo_surface_mark_dirty(surface);
    const SnapshotImage image = imageFromSurface(surface, 0, 0, 256, 256);
    cairo_surface_destroy(surface);
    ASSERT_EQ(image.rgba.size(), 256u * 256 * 4);
    auto straight = [](uint32_t c, uint32_t a) { return uint8_t(a == 0 ? 0 : (c * 255 + a / 2) / a); };
    int wrong = 0;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c) {
            const uint8_t* out = &image.rgba[(a * 256 + c) * 4];
            const uint8_t want[4] = {straight(c, a), straight(255 - c, a), straight(c / 2, a), uint8_t(a)};
            if (std::memcmp(out, want, 4) != 0 && ++wrong <= 5)
                ADD_FAILURE() << "alpha " << a << ", channel " << c << ": " << int(out[0]) << " "
                              << int(out[1]) << " " << int(out[2]) << " " << int(out[3]);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(PixelConversion, EveryStraightValueBecomesItsPremultipliedValue) {
    std::vector<uint8_t> rgba(256 * 256 * 4);
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c) {
            uint8_t* px = &rgba[(a * 256 + c) * 4];
            px[0] = uint8_t(c), px[1] = uint8_t(255 - c), px[2] = uint8_t(c / 2), px[3] = uint8_t(a);
        }
    cairo_surface_t* surface = surfaceFromRGBA(rgba.data(), 256, 256, 256 * 4);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    auto pre = [](uint32_t c, uint32_t a) { return (c * a + 127) / 255; };
    int wrong = 0;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c) {
            uint32_t p = 0;
            std::memcpy(&p, data + a * uint32_t(stride) + c * 4, 4);
            const uint32_t want = a << 24 | pre(c, a) << 16 | pre(255 - c, a) << 8 | pre(c / 2, a);
            if (p != want && ++wrong <= 5)
                ADD_FAILURE() << "alpha " << a << ", channel " << c << ": " << std::hex << p << " for "
                              << want;
        }
    cairo_surface_destroy(surface);
    EXPECT_EQ(wrong, 0);
}

} // namespace
