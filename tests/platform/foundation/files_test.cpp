#include "DeviceRootFixture.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NSFileManager.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <algorithm>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// No package, no add-ons, the clock left as it is.

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
    DeviceRootFixture root{DeviceRootFixture::bare()};
    PlistDict dict = sampleDict();
    ASSERT_TRUE(writeToFile(dict, kSettings, true));
    EXPECT_NE(slurp(root.hostPath(kSettings)).find("<plist version=\"1.0\">"), std::string::npos)
        << "written as XML";
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), dict);

    spit(root.hostPath(kSettings), propertyListToBinary(dict));
    ASSERT_EQ(slurp(root.hostPath(kSettings)).substr(0, 6), "bplist");
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), dict);
}

TEST(PropertyListFiles, NonAtomicWriteReplacesTheContent) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(sampleDict(), kSettings, false));
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, kSettings, false));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"a", 1}}));
}

TEST(PropertyListFiles, MissingUnreadableAndNonDictionaryReadAsNone) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    spit(root.hostPath(kSettings), "");
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    spit(root.hostPath(kSettings), "not a property list at all");
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    spit(root.hostPath(kSettings), propertyListToXML(PlistDict{{"a", 1}}).substr(0, 60));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt) << "truncated";
    spit(root.hostPath(kSettings), propertyListToXML(PlistArray{1, 2}));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), std::nullopt);
    EXPECT_EQ(propertyListWithContentsOfFile(kSettings), PlistValue(PlistArray{1, 2}));
    fs::create_directory(root.hostPath("/private/var/mobile/Library/Preferences/folder.plist"));
    EXPECT_EQ(dictionaryWithContentsOfFile("/private/var/mobile/Library/Preferences/folder.plist"),
              std::nullopt);
    EXPECT_EQ(dictionaryWithContentsOfFile("relative/path.plist"), std::nullopt);
}

TEST(PropertyListFiles, VarAndPrivateVarNameOneFile) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"k", "v"}}, "/var/mobile/Library/Preferences/test.plist", true));
    EXPECT_TRUE(fs::is_regular_file(root.hostPath(kSettings)));
    EXPECT_TRUE(fs::is_symlink(root.root() / "var")) << "the write must not replace the link";
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"k", "v"}}));
}

int filesIn(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++n;
    return n;
}

TEST(PropertyListFiles, AFailedAtomicWriteKeepsTheOldFileAndLeavesNoTemporary) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"old", 1}}, kSettings, true));
    fs::path folder = root.hostPath("/private/var/mobile/Library/Preferences");
    int before = filesIn(folder);
    // A folder in the way: the temporary file is written, the rename fails.
    fs::create_directories(folder / "blocked.plist" / "inner");
    EXPECT_FALSE(
        writeToFile(PlistDict{{"new", 2}}, "/private/var/mobile/Library/Preferences/blocked.plist", true));
    EXPECT_EQ(filesIn(folder), before + 1) << "only the blocking folder, no temporary left";
    // A missing folder: nothing can be created.
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, "/private/var/mobile/Nowhere/x.plist", true));
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, "/private/var/mobile/Nowhere/x.plist", false));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"old", 1}}));
}

TEST(PropertyListFiles, AReadOnlyFolderFailsCleanly) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"old", 1}}, kSettings, true));
    fs::path folder = root.hostPath("/private/var/mobile/Library/Preferences");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(writeToFile(PlistDict{{"new", 2}}, kSettings, true));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"old", 1}}));
    EXPECT_EQ(filesIn(folder), 1);
}

TEST(PropertyListFiles, AtomicWriteReplacesTheFileWholeAndKeepsItsMode) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    ASSERT_TRUE(writeToFile(PlistDict{{"old", 1}}, kSettings, true));
    EXPECT_EQ(fs::status(root.hostPath(kSettings)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    fs::permissions(root.hostPath(kSettings), fs::perms::owner_read | fs::perms::owner_write);
    // A reader holding the old file keeps reading the old bytes: the new file is a new inode.
    std::ifstream reader(root.hostPath(kSettings), std::ios::binary);
    ASSERT_TRUE(writeToFile(sampleDict(), kSettings, true));
    std::string seen{std::istreambuf_iterator<char>(reader), {}};
    EXPECT_EQ(propertyListFromBytes(seen), PlistValue(PlistDict{{"old", 1}}));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), sampleDict());
    EXPECT_EQ(fs::status(root.hostPath(kSettings)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(PropertyListFiles, WritesAreRecordedAsEvents) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    DeviceEvents::clear();
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, "/var/mobile/Library/Preferences/a.plist", true));
    EXPECT_FALSE(writeToFile(PlistDict{{"a", 1}}, "/nowhere/a.plist", true));
    auto events = DeviceEvents::ofKind("file written");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].detail, "/var/mobile/Library/Preferences/a.plist");
}

// A write that fails leaves a "file write failed" event naming the path and the reason, both
// ways of writing, and no "file written" one.
TEST(PropertyListFiles, FailedWritesAreRecordedWithTheirReason) {
    const std::string folder = "/private/var/mobile/Library/Preferences";
    struct Case {
        const char* name;
        std::string path;
        std::string reason;
    } cases[] = {
        {"a folder in the way", folder + "/blocked.plist", "Is a directory"},
        {"a missing folder", "/private/var/mobile/Nowhere/x.plist", "No such file or directory"},
        {"a file as its folder", folder + "/plain/x.plist", "Not a directory"},
        {"a path leaving the root", "/../outside.plist", "the path leaves the device"},
        {"a relative path", "relative.plist", "not a device path, or not a regular file"},
    };
    for (bool atomically : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (atomically ? ", atomically" : ", in place"));
            DeviceRootFixture root{DeviceRootFixture::bare()};
            fs::create_directories(root.hostPath(folder + "/blocked.plist/inner"));
            spit(root.hostPath(folder + "/plain"), "a file");
            DeviceEvents::clear();
            EXPECT_FALSE(writeToFile(PlistDict{{"a", 1}}, c.path, atomically));
            auto failed = DeviceEvents::ofKind("file write failed");
            ASSERT_EQ(failed.size(), 1u);
            EXPECT_EQ(failed[0].detail, c.path + ": " + c.reason);
            EXPECT_TRUE(DeviceEvents::ofKind("file written").empty());
        }
    }
}

TEST(PropertyListFiles, NoneValuesAreLeftOutOfContainers) {
    EXPECT_EQ(propertyListFromBytes(
                  propertyListToXML(PlistDict{{"a", PlistValue()}, {"b", PlistArray{PlistValue(), 1}}})),
              PlistValue(PlistDict{{"b", PlistArray{1}}}));
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PropertyListFiles, ADeadWritersTemporaryIsTakenOverByTheNextWrite) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    const fs::path folder = root.hostPath("/private/var/mobile/Library/Preferences");
    spit(folder / ".test.plist.tmp0", std::string(100000, 'x')); // what a killed writer leaves
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, kSettings, true));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"test.plist"});
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"a", 1}}));
}

TEST(PropertyListFiles, ATemporaryHeldByAnotherWriterIsLeftToIt) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    const fs::path folder = root.hostPath("/private/var/mobile/Library/Preferences");
    spit(folder / ".test.plist.tmp0", "being written");
    int held = ::open((folder / ".test.plist.tmp0").c_str(), O_RDWR);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, kSettings, true));
    EXPECT_EQ(slurp(folder / ".test.plist.tmp0"), "being written");
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{".test.plist.tmp0", "test.plist"}));
    ::close(held);
}

TEST(PropertyListFiles, TemporaryNamesTakenByOtherThingsAreSteppedOver) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    const fs::path folder = root.hostPath("/private/var/mobile/Library/Preferences");
    const fs::path outside = root.root().parent_path() / (root.root().filename().string() + "-victim");
    spit(outside, "keep");
    fs::create_symlink(outside, folder / ".test.plist.tmp0");
    fs::create_directory(folder / ".test.plist.tmp1");
    ASSERT_EQ(::mkfifo((folder / ".test.plist.tmp2").c_str(), 0644), 0);
    spit(folder / "other.plist", "keep too");
    fs::create_hard_link(folder / "other.plist", folder / ".test.plist.tmp3");
    ASSERT_TRUE(writeToFile(PlistDict{{"a", 1}}, kSettings, true));
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"a", 1}}));
    EXPECT_EQ(slurp(outside), "keep");
    EXPECT_EQ(slurp(folder / "other.plist"), "keep too");
    fs::remove(outside);
}

} // namespace
