// The loader: lists the libraries of "/Library/MobileSubstrate/DynamicLibraries", reads each
// one's filter and loads those that name the host. The choice itself is TweakFilter's.
#include "substrate/loader.h"

#include "foundation/DeviceDlopen.h"
#include "foundation/DeviceEvents.h"
#include "foundation/DeviceFiles.h"
#include "foundation/PropertyList.h"
#include "substrate/TweakFilter.h"

#include <filesystem>

namespace {

// "Filter" → "Bundles" of the filter file, or none when the file or the key is missing.
std::optional<std::vector<std::string>> filterBundles(const std::string& filterPath) {
    auto filter = dictionaryWithContentsOfFile(filterPath);
    if (!filter)
        return std::nullopt;
    const PlistValue& bundles = valueForKey(*filter, "Filter")["Bundles"];
    if (!bundles.isArray())
        return std::nullopt;
    std::vector<std::string> out;
    for (const PlistValue& b : bundles.asArray())
        if (b.isString())
            out.push_back(b.asString());
    return out;
}

std::vector<substrate::TweakCandidate> candidatesIn(const std::string& folder) {
    std::vector<substrate::TweakCandidate> candidates;
    for (const std::string& name : contentsOfDeviceDirectory(folder)) {
        if (std::filesystem::path(name).extension() != ".dylib")
            continue;
        if (deviceFileKind(folder + "/" + name) != DeviceFileKind::Regular)
            continue;
        candidates.push_back({name, filterBundles(folder + "/" + substrate::filterNameFor(name))});
    }
    return candidates;
}

} // namespace

std::vector<std::string> MSLoadTweaksForHost(std::string_view bundleIdentifier) {
    const std::string folder = kDynamicLibrariesPath;
    std::vector<std::string> loaded;
    for (const std::string& library : substrate::tweaksForHost(candidatesIn(folder), bundleIdentifier)) {
        if (!device_dlopen(folder + "/" + library, kDeviceRTLD_NOW | kDeviceRTLD_GLOBAL))
            continue;
        DeviceEvents::record("tweak loaded", library);
        loaded.push_back(library);
    }
    return loaded;
}
