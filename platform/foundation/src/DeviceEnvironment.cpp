// The device environment: its root, and the system settings a device keeps in it. Paths resolve
// in DeviceFiles.cpp.
#include "foundation/DeviceEnvironment.h"

#include "DeviceRootHandle.h"
#include "foundation/PropertyList.h"

#include <fcntl.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::mutex gRootMutex;
std::shared_ptr<const DeviceRootHandle> gRoot;
std::map<fs::path, RootDurability> gDurabilityOf; // as each root was last set

std::shared_ptr<DeviceRootHandle> openRoot(const fs::path& path, bool durable) {
    auto handle = std::make_shared<DeviceRootHandle>();
    handle->path = path;
    handle->fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    handle->durable = durable;
    return handle;
}
} // namespace

DeviceRootHandle::~DeviceRootHandle() {
    if (fd >= 0)
        ::close(fd);
}

std::shared_ptr<const DeviceRootHandle> currentDeviceRoot() {
    std::lock_guard lock(gRootMutex);
    // A root named before its folder was made opens on first use.
    if (gRoot && gRoot->fd < 0)
        gRoot = openRoot(gRoot->path, gRoot->durable);
    return gRoot;
}

void DeviceEnvironment::setRoot(fs::path root, std::optional<RootDurability> durability) {
    std::lock_guard lock(gRootMutex);
    if (root.empty()) {
        gRoot = nullptr;
        return;
    }
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::absolute(root, ec), ec);
    fs::path path = ec ? root : canonical;
    if (durability)
        gDurabilityOf[path] = *durability;
    auto known = gDurabilityOf.find(path);
    gRoot = openRoot(path, known == gDurabilityOf.end() || known->second == RootDurability::Kept);
}

fs::path DeviceEnvironment::root() {
    auto root = currentDeviceRoot();
    return root ? root->path : fs::path();
}

bool DeviceEnvironment::writesAreDurable() {
    auto root = currentDeviceRoot();
    return !root || root->durable;
}

namespace {
// Read on every local time and every formatted date, written rarely: kept between reads.
const PlistValue& globalPreference(const std::shared_ptr<const PlistDict>& prefs, const std::string& key) {
    static const PlistValue none;
    return prefs ? valueForKey(*prefs, key) : none;
}
std::shared_ptr<const PlistDict> globalPreferences() {
    return sharedDictionaryWithContentsOfFile(kGlobalPreferencesPath);
}
} // namespace

std::string DeviceEnvironment::locale() {
    auto prefs = globalPreferences();
    const PlistValue& v = globalPreference(prefs, "AppleLocale");
    return v.isString() && !v.asString().empty() ? v.asString() : "en_US";
}

std::vector<std::string> DeviceEnvironment::preferredLanguages() {
    auto prefs = globalPreferences();
    std::vector<std::string> out;
    for (const PlistValue& v : globalPreference(prefs, "AppleLanguages").asArray())
        if (v.isString() && !v.asString().empty())
            out.push_back(v.asString());
    if (out.empty())
        out.push_back("en");
    return out;
}

std::string DeviceEnvironment::timeZone() {
    auto prefs = globalPreferences();
    const PlistValue& v = globalPreference(prefs, "TimeZone");
    return v.isString() && !v.asString().empty() ? v.asString() : "UTC";
}
