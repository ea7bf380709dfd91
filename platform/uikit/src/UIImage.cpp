#include "uikit/UIImage.h"

#include "foundation/Device.h"

#include <png.h>

#include <cstring>
#include <filesystem>

bool UIImage::loadPNG(const std::string& hostPath) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, hostPath.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> buffer(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width_ = image.width;
    height_ = image.height;
    pixels_ = std::move(buffer);
    const std::string stem = std::filesystem::path(hostPath).stem().string();
    scale_ = stem.size() > 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0 ? 2 : 1;
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
        const auto host = Device::hostPath(candidate);
        std::error_code ec;
        if (!host || !std::filesystem::is_regular_file(*host, ec)) continue;
        if (auto image = UIImageFromHostPNG(host->string())) return image;
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
