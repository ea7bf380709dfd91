#include "uikit/UIImage.h"

#include "foundation/DeviceFiles.h"
#include "uikit/UIScreen.h"

#include <png.h>

#include <algorithm>
#include <cmath>
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
// 2 for "name@2x", 3 for "name@3x", else 1.
CGFloat scaleOfName(const std::string& stem) {
    if (stem.size() > 3 && stem[stem.size() - 3] == '@' && stem.back() == 'x') {
        if (stem[stem.size() - 2] == '2')
            return 2;
        if (stem[stem.size() - 2] == '3')
            return 3;
    }
    return 1;
}
} // namespace

void UIImage::setPixels(size_t width, size_t height, std::vector<uint8_t> pixels, const std::string& name) {
    width_ = width;
    height_ = height;
    pixels_ = std::move(pixels);
    scale_ = scaleOfName(std::filesystem::path(name).stem().string());
}

bool UIImage::loadPNG(const std::string& hostPath) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, hostPath.c_str()))
        return false;
    auto pixels = finishRead(image);
    if (!pixels)
        return false;
    setPixels(image.width, image.height, std::move(*pixels), hostPath);
    return true;
}

bool UIImage::loadPNGBytes(std::string_view bytes, const std::string& name) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return false;
    auto pixels = finishRead(image);
    if (!pixels)
        return false;
    setPixels(image.width, image.height, std::move(*pixels), name);
    return true;
}

Ref<UIImage> UIImageFromHostPNG(const std::string& hostPath) {
    auto image = cast<UIImage>(msg<id>(classObject(objc_getClass("UIImage")), "new"));
    if (!image || !image->loadPNG(hostPath))
        return nullptr;
    return image;
}

namespace {

// The files that may hold the image of a device path, best first: the variant for the screen's
// scale, then smaller ones, then larger ones ("name@2x.png", "name.png", "name@3x.png" on a
// scale-2 screen). A name that already carries a scale is taken as it stands; a name without an
// extension gets ".png".
std::vector<std::string> imageCandidates(const std::string& devicePath) {
    std::filesystem::path path(devicePath);
    const std::string extension = path.has_extension() ? path.extension().string() : ".png";
    const std::string stem = path.stem().string();
    const std::string folder = path.has_parent_path() ? path.parent_path().string() + "/" : "";
    if (scaleOfName(stem) != 1)
        return {folder + stem + extension};
    const int screen = std::clamp(int(std::lround(UIScreen::main()->scale())), 1, 3);
    std::vector<int> scales;
    for (int s = screen; s >= 1; --s)
        scales.push_back(s);
    for (int s = screen + 1; s <= 3; ++s)
        scales.push_back(s);
    std::vector<std::string> candidates;
    for (int s : scales)
        candidates.push_back(folder + stem + (s == 1 ? "" : "@" + std::to_string(s) + "x") + extension);
    return candidates;
}

id imageAtDevicePath(const std::string& devicePath) {
    if (devicePath.empty())
        return nullptr;
    for (const std::string& candidate : imageCandidates(devicePath)) {
        // Read through the device root, never reopened by a host path.
        auto bytes = readDeviceFile(candidate, kMaxImageFileBytes);
        if (!bytes)
            continue;
        auto image = cast<UIImage>(msg<id>(classObject(objc_getClass("UIImage")), "new"));
        if (image && image->loadPNGBytes(*bytes, candidate))
            return image;
    }
    return nullptr;
}

const ClassDef<UIImage> kUIImage(
    "UIImage", "NSObject",
    {
        classMethod("imageNamed:", [](Object*, std::string path) -> id { return imageAtDevicePath(path); }),
        classMethod("imageWithContentsOfFile:",
                    [](Object*, std::string path) -> id { return imageAtDevicePath(path); }),
        method("size", &UIImage::size),
        method("scale", &UIImage::scale),
    });

} // namespace
