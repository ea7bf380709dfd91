// Flipswitch's switch panel: one shared panel that hands state changes to the switches found
// in "/Library/Switches" (each "<Name>.bundle" whose principal class answers the data-source
// messages `stateForSwitchIdentifier:` and `applyState:forSwitchIdentifier:`), keyed by the
// bundle's identifier.
#include "foundation/DeviceEvents.h"
#include "foundation/DeviceFiles.h"
#include "foundation/PlistValue.h"
#include "objc/runtime.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const char* kSwitchesPath = "/Library/Switches";
constexpr NSInteger kSwitchStateIndeterminate = -1;

struct FSSwitchPanel : NSObject {
    std::map<std::string, id> switches_; // identifier → the switch's data source

    void loadSwitches();
    void setStateForSwitchIdentifier(NSInteger state, std::string identifier) {
        auto it = switches_.find(identifier);
        if (it == switches_.end())
            return;
        DeviceEvents::record("switch state", identifier + " = " + std::to_string(state));
        msg(it->second, "applyState:forSwitchIdentifier:", state, identifier);
    }
    NSInteger stateForSwitchIdentifier(std::string identifier) {
        auto it = switches_.find(identifier);
        if (it == switches_.end())
            return kSwitchStateIndeterminate;
        return msg<NSInteger>(it->second, "stateForSwitchIdentifier:", identifier);
    }
};

// A switch bundle's data source, found through its bundle's principal class.
void loadSwitchBundle(FSSwitchPanel& panel, const std::string& bundlePath, const std::string& name) {
    id bundle = msg<id>(classObject(objc_getClass("NSBundle")), "bundleWithPath:", bundlePath);
    if (!bundle)
        return;
    const PlistDict info = msg<PlistDict>(bundle, "infoDictionary");
    const PlistValue& identifierValue = valueForKey(info, "CFBundleIdentifier");
    const std::string identifier = identifierValue.isString() ? identifierValue.asString() : name;
    Class* principal = msg<Class*>(bundle, "principalClass");
    if (!principal || panel.switches_.count(identifier))
        return;
    if (id source = msg<id>(classObject(principal), "new"))
        panel.switches_.emplace(identifier, source);
}

void FSSwitchPanel::loadSwitches() {
    std::vector<std::string> bundles;
    for (const std::string& name : contentsOfDeviceDirectory(kSwitchesPath))
        if (std::filesystem::path(name).extension() == ".bundle")
            bundles.push_back(name);
    std::sort(bundles.begin(), bundles.end());
    for (const std::string& b : bundles)
        loadSwitchBundle(*this, std::string(kSwitchesPath) + "/" + b, b.substr(0, b.size() - 7));
}

id sharedPanel(Object* cls) {
    static id* panel = nullptr;
    if (!panel) {
        panel = new id(msg<id>(cls, "new"));
        std::static_pointer_cast<FSSwitchPanel>(*panel)->loadSwitches();
    }
    return *panel;
}

const ClassDef<FSSwitchPanel>
    kFSSwitchPanel("FSSwitchPanel", "NSObject",
                   {
                       classMethod("sharedPanel", sharedPanel),
                       method("setState:forSwitchIdentifier:", &FSSwitchPanel::setStateForSwitchIdentifier),
                       method("stateForSwitchIdentifier:", &FSSwitchPanel::stateForSwitchIdentifier),
                   });

__attribute__((constructor)) void loadFlipswitch() {
    DeviceEvents::record("library loaded", HM_LIBRARY_NAME);
}

} // namespace
