// The loader that injects libraries into a host at launch, as CydiaSubstrate does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder the loader reads, a device path.
inline constexpr const char* kDynamicLibrariesPath = "/Library/MobileSubstrate/DynamicLibraries";

// Reads the filter beside every library in "/Library/MobileSubstrate/DynamicLibraries"
// ("X.plist" beside "X.dylib", "Filter" → "Bundles") and loads, in name order, each library
// whose filter names the host (device `dlopen`, mode 10: now plus global), so its load-time
// constructor runs. Returns the file names it loaded; a library that fails to load is left out.
std::vector<std::string> MSLoadTweaksForHost(std::string_view bundleIdentifier);
