// Bundles at device paths: resources, strings tables by preferred language, the executable.
#include "foundation/NSBundle.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceDlopen.h"
#include "foundation/DeviceFiles.h"
#include "foundation/NSFileManager.h"
#include "foundation/PropertyList.h"

#include <map>
#include <mutex>

namespace {

const ClassDef<NSBundle>
    kNSBundle("NSBundle", "NSObject",
              {
                  classMethod("bundleWithPath:",
                              [](Object*, std::string path) -> id { return NSBundle::bundleWithPath(path); }),
                  method("bundlePath", &NSBundle::bundlePath),
                  method("pathForResource:ofType:", &NSBundle::pathForResource),
                  method("localizedStringForKey:value:table:", &NSBundle::localizedStringForKey),
                  method("infoDictionary", &NSBundle::infoDictionary),
                  method("load", &NSBundle::load),
                  method("principalClass", &NSBundle::principalClass),
              });

std::string withoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

// Localization folders to try, best first: each preferred language, then its base language
// ("en" for "en-GB", "zh" for "zh-Hans"), then English under both of its folder names.
std::vector<std::string> localizationOrder() {
    std::vector<std::string> order;
    auto add = [&](const std::string& lang) {
        if (!lang.empty() && std::find(order.begin(), order.end(), lang) == order.end())
            order.push_back(lang);
    };
    for (const std::string& lang : DeviceEnvironment::preferredLanguages()) {
        add(lang);
        add(lang.substr(0, lang.find_first_of("-_")));
    }
    add("en");
    add("English");
    return order;
}

} // namespace

Ref<NSBundle> NSBundle::bundleWithPath(std::string_view devicePath) {
    static std::mutex mutex;
    static std::map<std::string, Ref<NSBundle>> bundles;
    std::string path = withoutTrailingSlashes(devicePath);
    if (deviceFileKind(path) != DeviceFileKind::Directory)
        return nullptr;
    std::lock_guard lock(mutex);
    Ref<NSBundle>& bundle = bundles[path];
    if (!bundle) {
        bundle = alloc<NSBundle>();
        bundle->path = path;
    }
    return bundle;
}

std::string NSBundle::pathForResource(std::string name, std::string type) {
    if (name.empty())
        return "";
    std::string file = type.empty() ? name : name + "." + type;
    std::string top = path + "/" + file;
    if (::fileExistsAtPath(top))
        return top;
    for (const std::string& lang : localizationOrder()) {
        std::string localized = path + "/" + lang + ".lproj/" + file;
        if (::fileExistsAtPath(localized))
            return localized;
    }
    return "";
}

std::string NSBundle::localizedStringForKey(std::string key, std::string value, std::string table) {
    if (table.empty())
        table = "Localizable";
    for (const std::string& lang : localizationOrder()) {
        auto strings = dictionaryWithContentsOfFile(path + "/" + lang + ".lproj/" + table + ".strings");
        if (!strings)
            continue;
        const PlistValue& text = valueForKey(*strings, key);
        if (text.isString())
            return text.asString();
    }
    return value.empty() ? key : value;
}

PlistDict NSBundle::infoDictionary() {
    return dictionaryWithContentsOfFile(path + "/Info.plist").value_or(PlistDict{});
}

bool NSBundle::load() {
    if (handle_)
        return true;
    PlistDict info = infoDictionary();
    const std::string& executable = valueForKey(info, "CFBundleExecutable").asString();
    if (executable.empty())
        return false;
    handle_ = device_dlopen(path + "/" + executable, kDeviceRTLD_NOW | kDeviceRTLD_GLOBAL);
    return handle_ != nullptr;
}

Class* NSBundle::principalClass() {
    if (!load())
        return nullptr;
    PlistDict info = infoDictionary();
    const std::string& name = valueForKey(info, "NSPrincipalClass").asString();
    return name.empty() ? nullptr : objc_getClass(name);
}
