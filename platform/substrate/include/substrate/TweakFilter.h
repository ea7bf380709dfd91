// Which libraries of "/Library/MobileSubstrate/DynamicLibraries" a host loads: a pure choice
// over file names and the bundle lists of their filters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace substrate {

struct TweakCandidate {
    std::string library;                             // file name, "Hushmark.dylib"
    std::optional<std::vector<std::string>> bundles; // "Filter" → "Bundles"; none without a filter
};

// The filter property list beside a library: "X.dylib" → "X.plist".
std::string filterNameFor(std::string_view library);

// The libraries whose filter names `bundleIdentifier`, in name order (byte order, as the
// device sorts them). A library without a readable filter is not loaded.
std::vector<std::string> tweaksForHost(std::vector<TweakCandidate> candidates,
                                       std::string_view bundleIdentifier);

} // namespace substrate
