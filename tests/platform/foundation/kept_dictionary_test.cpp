// Dictionaries kept between reads: every way a file can change is noticed on the next read, which
// then gives what a plain read gives.
#include "DeviceRootFixture.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr const char* kPath = "/private/var/mobile/Library/Preferences/kept.plist";

std::string zoneIn(const std::shared_ptr<const PlistDict>& dict) {
    if (!dict)
        return "(none)";
    const PlistValue& v = valueForKey(*dict, "TimeZone");
    return v.isString() ? v.asString() : "(no zone)";
}

std::string plainZone() {
    auto dict = dictionaryWithContentsOfFile(kPath);
    return dict ? zoneIn(std::make_shared<const PlistDict>(*dict)) : "(none)";
}

std::string xmlWithZone(const std::string& zone) {
    return propertyListToXML(PlistDict{{"TimeZone", zone}});
}

// Past the tick within which a file's times may not move (src/PropertyListCache.cpp).
void letTheFileSettle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
}

struct Change {
    const char* name;
    bool settleFirst; // the kept copy trusted before the change, or read just after the file's last change
    std::function<void(DeviceRootFixture&)> change;
    const char* expected;
};
void PrintTo(const Change& c, std::ostream* os) {
    *os << c.name;
}

class KeptDictionary : public testing::TestWithParam<Change> {};

TEST_P(KeptDictionary, FollowsTheFile) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "Asia/Tokyo"}}, kPath, true));
    if (GetParam().settleFirst)
        letTheFileSettle();
    ASSERT_EQ(zoneIn(sharedDictionaryWithContentsOfFile(kPath)), "Asia/Tokyo");
    GetParam().change(root);
    EXPECT_EQ(zoneIn(sharedDictionaryWithContentsOfFile(kPath)), GetParam().expected);
    EXPECT_EQ(zoneIn(sharedDictionaryWithContentsOfFile(kPath)), plainZone());
}

// "Asia/Seoul" is as long as "Asia/Tokyo": a rewrite in place keeps the size.
INSTANTIATE_TEST_SUITE_P(
    Changes, KeptDictionary,
    testing::Values(
        Change{"AtomicWriteHere", true,
               [](auto&) {
                   writeToFile(PlistDict{{"TimeZone", "Asia/Seoul"}}, kPath, true);
               },
               "Asia/Seoul"},
        Change{"InPlaceWriteHere", true,
               [](auto&) {
                   writeToFile(PlistDict{{"TimeZone", "Asia/Seoul"}}, kPath, false);
               },
               "Asia/Seoul"},
        Change{"SameSizeWriteFromOutside", true,
               [](DeviceRootFixture& r) { r.writeFile(kPath, xmlWithZone("Asia/Seoul")); }, "Asia/Seoul"},
        Change{"SameSizeWriteWithinTheTick", false,
               [](DeviceRootFixture& r) { r.writeFile(kPath, xmlWithZone("Asia/Seoul")); }, "Asia/Seoul"},
        Change{"FileRenamedOver", true,
               [](DeviceRootFixture& r) {
                   r.writeFile("/private/var/mobile/other.plist", xmlWithZone("Europe/Oslo"));
                   fs::rename(r.hostPath("/private/var/mobile/other.plist"), r.hostPath(kPath));
               },
               "Europe/Oslo"},
        Change{"FileRemoved", true, [](DeviceRootFixture& r) { r.remove(kPath); }, "(none)"},
        Change{"FileSpoiled", true,
               [](DeviceRootFixture& r) { r.writeFile(kPath, "<plist><dict><key>Time"); }, "(none)"},
        Change{"FileReplacedByAFolder", true,
               [](DeviceRootFixture& r) {
                   r.remove(kPath);
                   fs::create_directory(r.hostPath(kPath));
               },
               "(none)"}),
    [](const testing::TestParamInfo<Change>& info) { return std::string(info.param.name); });

TEST(KeptDictionary, IsSharedWhileTheFileIsUnchanged) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "Asia/Tokyo"}}, kPath, true));
    letTheFileSettle();
    auto first = sharedDictionaryWithContentsOfFile(kPath);
    ASSERT_TRUE(first);
    EXPECT_EQ(sharedDictionaryWithContentsOfFile(kPath).get(), first.get());
}

TEST(KeptDictionary, BelongsToItsRoot) {
    auto other = std::make_unique<DeviceRootFixture>(DeviceRootFixture::bare());
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "Europe/Oslo"}}, kPath, true));
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "Asia/Tokyo"}}, kPath, true));
    letTheFileSettle();
    EXPECT_EQ(zoneIn(sharedDictionaryWithContentsOfFile(kPath)), "Asia/Tokyo");
    DeviceEnvironment::setRoot(other->root());
    EXPECT_EQ(zoneIn(sharedDictionaryWithContentsOfFile(kPath)), "Europe/Oslo");
    DeviceEnvironment::setRoot(root.root());
    EXPECT_EQ(zoneIn(sharedDictionaryWithContentsOfFile(kPath)), "Asia/Tokyo");
}

TEST(KeptDictionary, IsNoneWhereAPlainReadIsNone) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    EXPECT_FALSE(sharedDictionaryWithContentsOfFile(kPath));
    root.writeFile(kPath, propertyListToXML(PlistArray{"not", "a", "dictionary"}));
    EXPECT_FALSE(sharedDictionaryWithContentsOfFile(kPath));
    EXPECT_FALSE(sharedDictionaryWithContentsOfFile("relative/path.plist"));
    EXPECT_FALSE(sharedDictionaryWithContentsOfFile("/../outside.plist"));
}

} // namespace
