#include "PreferenceDomain.h"

#include "foundation/PropertyList.h"

std::string PSPreferenceDomainPath(const std::string& domain) {
    return "/var/mobile/Library/Preferences/" + domain + ".plist";
}

PlistValue PSReadPreference(const std::string& domain, const std::string& key) {
    auto dict = dictionaryWithContentsOfFile(PSPreferenceDomainPath(domain));
    if (!dict)
        return {};
    return valueForKey(*dict, key);
}

bool PSWritePreference(const std::string& domain, const std::string& key, const PlistValue& value) {
    const std::string path = PSPreferenceDomainPath(domain);
    PlistDict dict = dictionaryWithContentsOfFile(path).value_or(PlistDict{});
    if (value.isNone())
        dict.erase(key);
    else
        dict[key] = value;
    return writeToFile(dict, path, true);
}
