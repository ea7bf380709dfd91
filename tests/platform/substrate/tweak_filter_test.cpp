#include "substrate/TweakFilter.h"

#include <gtest/gtest.h>

namespace substrate {
namespace {

using Bundles = std::vector<std::string>;

TEST(TweakFilter, FilterSitsBesideTheLibrary) {
    EXPECT_EQ(filterNameFor("Hushmark.dylib"), "Hushmark.plist");
    EXPECT_EQ(filterNameFor("libstatusbar8.dylib"), "libstatusbar8.plist");
    EXPECT_EQ(filterNameFor("odd"), "odd.plist");
}

TEST(TweakFilter, OnlyLibrariesNamingTheHostLoadInByteOrder) {
    std::vector<TweakCandidate> candidates = {
        {"libstatusbar.dylib", Bundles{"com.apple.springboard", "com.apple.UIKit"}},
        {"Protean.dylib", Bundles{"com.apple.springboard"}},
        {"Settings.dylib", Bundles{"com.apple.Preferences"}},
        {"NoFilter.dylib", std::nullopt},
        {"Empty.dylib", Bundles{}},
        {"Hushmark.dylib", Bundles{"com.apple.springboard"}},
        {"Near.dylib", Bundles{"com.apple.springboard2", "com.apple.Springboard"}},
    };
    EXPECT_EQ(tweaksForHost(candidates, "com.apple.springboard"),
              (Bundles{"Hushmark.dylib", "Protean.dylib", "libstatusbar.dylib"}));
    EXPECT_EQ(tweaksForHost(candidates, "com.apple.Preferences"), (Bundles{"Settings.dylib"}));
    EXPECT_TRUE(tweaksForHost(candidates, "com.example.none").empty());
}

} // namespace
} // namespace substrate
