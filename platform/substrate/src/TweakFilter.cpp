#include "substrate/TweakFilter.h"

#include <algorithm>

namespace substrate {

std::string filterNameFor(std::string_view library) {
    constexpr std::string_view kSuffix = ".dylib";
    std::string_view stem = library;
    if (stem.size() >= kSuffix.size() && stem.substr(stem.size() - kSuffix.size()) == kSuffix)
        stem.remove_suffix(kSuffix.size());
    return std::string(stem) + ".plist";
}

std::vector<std::string> tweaksForHost(std::vector<TweakCandidate> candidates,
                                       std::string_view bundleIdentifier) {
    std::vector<std::string> chosen;
    for (auto& c : candidates) {
        if (!c.bundles)
            continue;
        if (std::find(c.bundles->begin(), c.bundles->end(), bundleIdentifier) != c.bundles->end())
            chosen.push_back(std::move(c.library));
    }
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return chosen;
}

} // namespace substrate
