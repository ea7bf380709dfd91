#include "AddonChoices.h"

#include "device/DeviceImage.h"

#include <algorithm>

namespace sim::web {

AddonChoices::AddonChoices(const std::filesystem::path& root) : installed_(installedAddons(root)) {}

void AddonChoices::choose(const std::string& name, bool install) {
    const bool has = std::find(installed_.begin(), installed_.end(), name) != installed_.end();
    if (has == install)
        chosen_.erase(name);
    else
        chosen_[name] = install;
}

nlohmann::json AddonChoices::json() const {
    nlohmann::json list = nlohmann::json::array();
    for (const std::string& name : knownAddons()) {
        auto choice = chosen_.find(name);
        list.push_back(
            {{"name", name},
             {"installed", std::find(installed_.begin(), installed_.end(), name) != installed_.end()},
             {"atRespring", choice == chosen_.end()
                                ? nlohmann::json(nullptr)
                                : nlohmann::json(choice->second ? "install" : "remove")}});
    }
    return list;
}

std::string AddonChoices::apply(const std::filesystem::path& root) {
    for (const auto& [name, install] : chosen_)
        if (std::string e = install ? installAddon(root, name) : removeAddon(root, name); !e.empty())
            return e;
    chosen_.clear();
    installed_ = installedAddons(root);
    return "";
}

} // namespace sim::web
