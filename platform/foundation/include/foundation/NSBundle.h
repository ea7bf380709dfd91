// Bundles: a folder with Info.plist, resources, <lang>.lproj strings tables and an executable.
// Runtime class NSBundle: +bundleWithPath:, -bundlePath, -pathForResource:ofType:,
// -localizedStringForKey:value:table:, -infoDictionary, -load, -principalClass.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"

#include <string>
#include <string_view>

struct NSBundle : NSObject {
    std::string path; // device path of the folder

    // The bundle at a device path (one object per path); none when the folder does not exist.
    static Ref<NSBundle> bundleWithPath(std::string_view devicePath);

    std::string bundlePath() const { return path; }
    // Device path of "<name>.<type>" in the bundle (or in a localization folder); "" when missing.
    std::string pathForResource(std::string name, std::string type);
    // The key's text from "<lang>.lproj/<table>.strings" ("Localizable" when `table` is ""), trying
    // the device's preferred languages, then English; else `value`, or the key when `value` is "".
    std::string localizedStringForKey(std::string key, std::string value, std::string table);
    PlistDict infoDictionary();
    // Loads the executable named by CFBundleExecutable (true when loaded or already loaded).
    bool load();
    // Loads, then the class named by NSPrincipalClass; none when either fails.
    Class* principalClass();

  private:
    void* handle_ = nullptr;
};
