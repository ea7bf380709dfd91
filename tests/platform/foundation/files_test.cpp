#include "TempDeviceRoot.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NSFileManager.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* kSettings = "/private/var/mobile/Library/Preferences/test.plist";

PlistDict sampleDict() {
    return PlistDict{
        {"enabled", true},
        {"off", false},
        {"minutes", 45},
        {"negative", -12},
        {"big", int64_t{1} << 40},
        {"ratio", 0.1},
        {"text", "a <b> & \"c\" é"},
        {"empty", ""},
        {"until", NSDate{800000000.0}},
        {"bytes", PlistData{0, 1, 254, 255}},
        {"list", PlistArray{1, "two", PlistArray{}, PlistDict{{"k", 3.5}}}},
        {"nested", PlistDict{{"inner", PlistDict{{"deep", "yes"}}}}},
    };
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void spit(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

TEST(PropertyListFiles, RoundTripInXMLAndBinary) {
    TempDeviceRoot root;
    PlistDict dict = sampleDict();
    ASSERT_TRUE(writeToFile(dict, kSettings, true));
    EXPECT_NE(slurp(root.host(kSettings)).find("<plist version=\"1.0\">"), std::string::npos) << "written as XML";
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), dict);

    spit(root.host(kSettings), propertyListToBinary(dict));
    ASSERT_EQ(slurp(root.host(kSettings)).substr(0, 6), "bplist");
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), dict);
}

TEST(PropertyListFiles, NonAtomicWriteReplacesTheContent) {
    TempDeviceRoot root;
    ASSERT_TRUE(writeToFile(sampleDict(), kSettings, false));
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, kSettings, false));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"a", 1}}));
}

TEST(PropertyListFiles, MissingUnreadableAndNonDictionaryReadAsNone) {
    TempDeviceRoot root;
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    spit(root.host(kSettings), "");
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    spit(root.host(kSettings), "not a property list at all");
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    spit(root.host(kSettings), propertyListToXML(PlistDict{{"a", 1}}).substr(0, 60));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt) << "truncated";
    spit(root.host(kSettings), propertyListToXML(PlistArray{1, 2}));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    EXPECT_EQ(propertyListWithContentsOfFile(kSettings), PlistValue(PlistArray{1, 2}));
    fs::create_directory(root.host("/private/var/mobile/Library/Preferences/folder.plist"));
    EXPECT_EQ(dictionaryWithContentsOfFile("/private/var/mobile/Library/Preferences/folder.plist"), std::nullopt);
    EXPECT_EQ(dictionaryWithContentsOfFile("relative/path.plist"), std::nullopt);
}

TEST(PropertyListFiles, VarAndPrivateVarNameOneFile) {
    TempDeviceRoot root;
    ASSERT_TRUE(writeToFile(PlistDict{{"k", "v"}}, "/var/mobile/Library/Preferences/test.plist", true));
    EXPECT_TRUE(fs::is_regular_file(root.host(kSettings)));
    EXPECT_TRUE(fs::is_symlink(root.path() / "var")) << "the write must not replace the link";
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"k", "v"}}));
}

int filesIn(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}

TEST(PropertyListFiles, AFailedAtomicWriteKeepsTheOldFileAndLeavesNoTemporary) {
    TempDeviceRoot root;
    ASSERT_TRUE(writeToFile(PlistDict{{"old", 1}}, kSettings, true));
    fs::path folder = root.host("/private/var/mobile/Library/Preferences");
    int before = filesIn(folder);
    // A folder in the way: the temporary file is written, the rename fails.
    fs::create_directories(folder / "blocked.plist" / "inner");
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, "/private/var/mobile/Library/Preferences/blocked.plist", true));
    EXPECT_EQ(filesIn(folder), before + 1) << "only the blocking folder, no temporary left";
    // A missing folder: nothing can be created.
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, "/private/var/mobile/Nowhere/x.plist", true));
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, "/private/var/mobile/Nowhere/x.plist", false));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"old", 1}}));
}

TEST(PropertyListFiles, AReadOnlyFolderFailsCleanly) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDeviceRoot root;
    ASSERT_TRUE(writeToFile(PlistDict{{"old", 1}}, kSettings, true));
    fs::path folder = root.host("/private/var/mobile/Library/Preferences");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, kSettings, true));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"old", 1}}));
    EXPECT_EQ(filesIn(folder), 1);
}

TEST(PropertyListFiles, AtomicWriteReplacesTheFileWholeAndKeepsItsMode) {
    TempDeviceRoot root;
    ASSERT_TRUE(writeToFile(PlistDict{{"old", 1}}, kSettings, true));
    EXPECT_EQ(fs::status(root.host(kSettings)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(root.host(kSettings), fs::perms::owner_read | fs::perms::owner_write);
    // A reader holding the old file keeps reading the old bytes: the new file is a new inode.
    std::ifstream reader(root.host(kSettings), std::ios::binary);
    ASSERT_TRUE(writeToFile(sampleDict(), kSettings, true));
    std::string seen{std::istreambuf_iterator<char>(reader), {}};
    EXPECT_EQ(propertyListFromBytes(seen), PlistValue(PlistDict{{"old", 1}}));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), sampleDict());
    EXPECT_EQ(fs::status(root.host(kSettings)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(PropertyListFiles, WritesAreRecordedAsEvents) {
    TempDeviceRoot root;
    DeviceEvents::clear();
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, "/var/mobile/Library/Preferences/a.plist", true));
    EXPECT_FALSE(writeToFile(PlistDict{{"a", 1}}, "/nowhere/a.plist", true));
    auto events = DeviceEvents::ofKind("file written");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].detail, "/var/mobile/Library/Preferences/a.plist");
}

TEST(PropertyListFiles, NoneValuesAreLeftOutOfContainers) {
    EXPECT_EQ(propertyListFromBytes(propertyListToXML(PlistDict{{"a", PlistValue()}, {"b", PlistArray{PlistValue(), 1}}})),
              PlistValue(PlistDict{{"b", PlistArray{1}}}));
}

} // namespace
