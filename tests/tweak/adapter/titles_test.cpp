// The Snooze and OK titles come from the preference bundle's strings table, in the device's
// language, with English and then the built-in English words as fallbacks.
#include "Startup.h"
#include "DeviceRootFixture.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr const char* kBundlePath = "/Library/PreferenceBundles/Hushmark.bundle";

DeviceRootFixture::Options stringsFromSources() {
    DeviceRootFixture::Options options;
    options.package = false; // the tweak runs in this process; the strings come from the sources
    return options;
}

struct TitlesCase {
    const char* language;
    const char* snooze;
    const char* ok;
};
void PrintTo(const TitlesCase& c, std::ostream* os) {
    *os << c.language;
}

class Titles : public testing::TestWithParam<TitlesCase> {};

TEST_P(Titles, FollowTheDevicesPreferredLanguage) {
    DeviceRootFixture root{stringsFromSources()};
    std::filesystem::create_directories(root.hostPath(kBundlePath));
    std::filesystem::copy(HM_BUNDLE_RESOURCES, root.hostPath(kBundlePath),
                          std::filesystem::copy_options::recursive);
    ASSERT_TRUE(writeToFile(PlistDict{{"AppleLanguages", PlistArray{GetParam().language}}},
                            kGlobalPreferencesPath, true));

    TweakState state;
    startHushmark(state);
    EXPECT_EQ(state.snoozeTitle, GetParam().snooze);
    EXPECT_EQ(state.okTitle, GetParam().ok);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, Titles,
    testing::Values(TitlesCase{"en", "Snooze", "OK"}, TitlesCase{"de", "Schlummern", "OK"},
                    TitlesCase{"fr", "Rappel", "OK"}, TitlesCase{"es", "Posponer", "Aceptar"},
                    TitlesCase{"it", "Posticipa", "OK"}, TitlesCase{"ja", "スヌーズ", "OK"},
                    TitlesCase{"zh-Hans", "稍后提醒", "好"},
                    // A language without a table reads the English one.
                    TitlesCase{"pt-BR", "Snooze", "OK"}),
    [](const testing::TestParamInfo<TitlesCase>& info) {
        std::string name = info.param.language;
        std::erase(name, '-');
        return name;
    });

TEST(TitlesFromTheTable, AnEmptyEntryIsUsedAsItStandsAndAMissingKeyFallsBack) {
    DeviceRootFixture root{stringsFromSources()};
    std::filesystem::create_directories(root.hostPath(std::string(kBundlePath) + "/en.lproj"));
    ASSERT_TRUE(writeToFile(PlistDict{{"EDIT_SNOOZE", ""}},
                            std::string(kBundlePath) + "/en.lproj/Hushmark.strings", true));
    TweakState state;
    startHushmark(state);
    EXPECT_EQ(state.snoozeTitle, "");
    EXPECT_EQ(state.okTitle, "OK");
}

TEST(TitlesWithoutBundle, AreTheEnglishWords) {
    DeviceRootFixture root{stringsFromSources()};
    TweakState state;
    state.snoozeTitle = state.okTitle = "unset";
    startHushmark(state);
    EXPECT_EQ(state.snoozeTitle, "Snooze");
    EXPECT_EQ(state.okTitle, "OK");
}

} // namespace
