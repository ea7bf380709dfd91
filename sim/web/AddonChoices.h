// The add-ons a person chooses on the page: the root's add-ons as the device booted with them,
// and the installs and removals chosen since, which a respring applies to the root before the
// relaunch, as a package manager installs and then resprings. Device thread only.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sim::web {

class AddonChoices {
  public:
    explicit AddonChoices(const std::filesystem::path& root);
    // Installs (`install`) or removes the add-on at the next respring; choosing what the root
    // holds already drops an earlier choice. The name must be a known add-on.
    void choose(const std::string& name, bool install);
    // Every known add-on: [{"name", "installed", "atRespring": "install"|"remove"|null}].
    nlohmann::json json() const;
    // Carries out the choices on the root; "" on success, else what went wrong.
    std::string apply(const std::filesystem::path& root);

  private:
    std::vector<std::string> installed_;
    std::map<std::string, bool> chosen_;
};

} // namespace sim::web
