#include "device/DeviceImage.h"

#include "device/RootLock.h"

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

bool isKnownAddon(const std::string& name) {
    return std::find(knownAddons().begin(), knownAddons().end(), name) != knownAddons().end();
}

// The files an add-on's package holds, relative to the root.
std::vector<fs::path> addonFiles(const std::string& name) {
    std::vector<fs::path> files;
    const fs::path staged = fs::path(HM_ADDONS_DIR) / name;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(staged, ec), end; !ec && it != end; it.increment(ec))
        if (!it->is_directory(ec))
            files.push_back(fs::relative(it->path(), staged, ec));
    return files;
}

// The package, the chosen add-ons and the settings, into a root whose skeleton is made here.
std::string layInto(const fs::path& root, const DeviceImageOptions& options) {
    for (const auto& addon : options.addons)
        if (!isKnownAddon(addon))
            return "unknown add-on \"" + addon + "\"";
    std::error_code ec;
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

} // namespace

// An add-on's name is the build's staging folder that holds it.
std::string layDeviceImage(const fs::path& root, const DeviceImageOptions& options) {
    std::error_code ec;
    if (fs::exists(root, ec) && !fs::is_empty(root, ec))
        return root.string() + " is not empty";
    return layInto(root, options);
}

std::string relayDeviceImage(const fs::path& root, const DeviceImageOptions& options) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        if (entry.path().filename() == kRootLockFile)
            continue;
        fs::remove_all(entry.path(), ec);
        if (ec)
            return "cannot clear " + entry.path().string() + ": " + ec.message();
    }
    if (ec)
        return "cannot read " + root.string() + ": " + ec.message();
    return layInto(root, options);
}

std::vector<std::string> installedAddons(const fs::path& root) {
    std::vector<std::string> installed;
    for (const std::string& name : knownAddons()) {
        const auto files = addonFiles(name);
        std::error_code ec;
        if (!files.empty() && std::all_of(files.begin(), files.end(), [&](const fs::path& f) {
                return fs::exists(fs::symlink_status(root / f, ec));
            }))
            installed.push_back(name);
    }
    return installed;
}

std::string installAddon(const fs::path& root, const std::string& name) {
    if (!isKnownAddon(name))
        return "unknown add-on \"" + name + "\"";
    return copyInto(fs::path(HM_ADDONS_DIR) / name, root);
}

std::string removeAddon(const fs::path& root, const std::string& name) {
    if (!isKnownAddon(name))
        return "unknown add-on \"" + name + "\"";
    for (const fs::path& file : addonFiles(name)) {
        std::error_code ec;
        fs::remove(root / file, ec); // the entry itself, a link too; a missing one is fine
        if (ec)
            return "cannot remove " + (root / file).string() + ": " + ec.message();
    }
    return "";
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
