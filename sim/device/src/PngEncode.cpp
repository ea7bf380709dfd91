#include "device/PngEncode.h"

#include <png.h>

namespace sim {
namespace {
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void flushNothing(png_structp) {}
} // namespace

std::vector<uint8_t> encodePng(const SnapshotImage& image, int level) {
    std::vector<uint8_t> out;
    if (image.width == 0 || image.height == 0 || image.rgba.size() != image.width * image.height * 4)
        return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Fast settings (zlib level 1 by default, the Sub filter, none when stored): pictures are
    // sent often while a person drags.
    png_set_compression_level(png, level);
    png_set_filter(png, 0, level == 0 ? PNG_FILTER_NONE : PNG_FILTER_SUB);
    png_write_info(png, info);
    for (size_t y = 0; y < image.height; ++y)
        png_write_row(png, const_cast<png_bytep>(&image.rgba[y * image.width * 4]));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace sim
