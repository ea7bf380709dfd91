#include "uikit/UIImage.h"

#include "foundation/DeviceFiles.h"

#include <png.h>

#include <cstring>
#include <filesystem>
#include <optional>

namespace {
// Pictures of a screen are a few megabytes at most.
constexpr size_t kMaxImageFileBytes = 64 << 20;

// Finishes a read begun on `image`: its pixels as RGBA, or none.
std::optional<std::vector<uint8_t>> finishRead(png_image& image) {
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return buffer;
}
} // namespace

void UIImage::setPixels(size_t width, size_t height, std::vector<uint8_t> pixels, const std::string& name) {
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
    const std::string stem = std::filesystem::path(name).stem().string();
    scale_ = stem.size() > 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0 ? 2 : 1;
}

bool UIImage::loadPNG(const std::string& hostPath) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, hostPath.c_str())) return false;
    auto pixels = finishRead(image);
    if (!pixels) return false;
    setPixels(image.width, image.height, std::move(*pixels), hostPath);
    return true;
}

bool UIImage::loadPNGBytes(std::string_view bytes, const std::string& name) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
    auto pixels = finishRead(image);
    if (!pixels) return false;
    setPixels(image.width, image.height, std::move(*pixels), name);
    return true;
}

Ref<UIImage> UIImageFromHostPNG(const std::string& hostPath) {
    auto image = cast<UIImage>(msg<id>(classObject(objc_getClass("UIImage")), "new"));
    if (!image || !image->loadPNG(hostPath)) return nullptr;
    return image;
}

namespace {

id imageAtDevicePath(const std::string& devicePath) {
    if (devicePath.empty()) return nullptr;
    std::vector<std::string> candidates{devicePath};
    if (std::filesystem::path(devicePath).extension().empty()) candidates.push_back(devicePath + ".png");
    for (const std::string& candidate : candidates) {
        // Read through the device root, never reopened by a host path.
        auto bytes = readDeviceFile(candidate, kMaxImageFileBytes);
        if (!bytes) continue;
        auto image = cast<UIImage>(msg<id>(classObject(objc_getClass("UIImage")), "new"));
        if (image && image->loadPNGBytes(*bytes, candidate)) return image;
    }
    return nullptr;
}

const ClassDef<UIImage> kUIImage("UIImage", "NSObject", {
    classMethod("imageNamed:", [](Object*, std::string path) -> id { return imageAtDevicePath(path); }),
    classMethod("imageWithContentsOfFile:", [](Object*, std::string path) -> id { return imageAtDevicePath(path); }),
    method("size", &UIImage::size),
    method("scale", &UIImage::scale),
});

} // namespace
