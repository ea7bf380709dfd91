#include "device/DeviceImage.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceRoot.h"
#include "foundation/PropertyList.h"

#include <algorithm>
#include <system_error>

namespace sim {
namespace fs = std::filesystem;

namespace {

std::string copyInto(const fs::path& source, const fs::path& root) {
    std::error_code ec;
    if (!fs::is_directory(source, ec))
        return "not built: " + source.string();
    fs::copy(source, root,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                 fs::copy_options::copy_symlinks,
             ec);
    return ec ? "cannot copy " + source.string() + ": " + ec.message() : "";
}

} // namespace

// An add-on's name is the build's staging folder that holds it.
std::string layDeviceImage(const fs::path& root, const DeviceImageOptions& options) {
    std::error_code ec;
    if (fs::exists(root, ec) && !fs::is_empty(root, ec))
        return root.string() + " is not empty";
    for (const auto& addon : options.addons)
        if (std::find(knownAddons().begin(), knownAddons().end(), addon) == knownAddons().end())
            return "unknown add-on \"" + addon + "\"";
    fs::create_directories(root, ec);
    if (ec || !createDeviceRootSkeleton(root))
        return "cannot lay out " + root.string();
    if (auto e = copyInto(HM_PACKAGE_DIR, root); !e.empty())
        return e;
    for (const auto& addon : options.addons)
        if (auto e = copyInto(fs::path(HM_ADDONS_DIR) / addon, root); !e.empty())
            return e;
    return writeDeviceSettings(root, options);
}

std::string writeDeviceSettings(const fs::path& root, const DeviceImageOptions& options) {
    fs::path previous = DeviceEnvironment::root();
    DeviceEnvironment::setRoot(root);
    PlistArray languages(options.languages.begin(), options.languages.end());
    PlistDict global{
        {"AppleLocale", options.locale}, {"AppleLanguages", languages}, {"TimeZone", options.timeZone}};
    bool written = writeToFile(global, kGlobalPreferencesPath, true);
    if (!previous.empty())
        DeviceEnvironment::setRoot(previous);
    if (!written)
        return "cannot write the device settings in " + root.string();
    return writeDeviceSetup(root, options.setup);
}

} // namespace sim
