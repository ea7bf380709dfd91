// Hostile settings files, made here, each put at the settings path of a fresh device, which then
// boots SpringBoard (the tweak reads the file at load) and opens Hushmark's page in Settings (the
// pane reads it too). Nothing may crash or hang (each case has a timeout); a file that cannot be
// read reads as missing, so the 08:30 alarm rings and the status row says "Alarms Enabled"; a
// readable one is read by the value rules.
#include "DeviceRootFixture.h"
#include "PlistBytes.h"
#include "foundation/DeviceEvents.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardEvents.h"
#include "springboard/SpringBoardHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace plistbytes;

namespace {

constexpr const char* kSettings = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
constexpr double kDeadline = DeviceRootFixture::kStart + 3600; // 09:00, after the 08:30 alarm

enum class Outcome { Rings, Silenced, Survives };

struct HostileFile {
    const char* name;
    Outcome outcome;
    std::function<void(DeviceRootFixture&)> place;
};

// A file of these bytes at the settings path.
std::function<void(DeviceRootFixture&)> bytes(std::function<std::string()> make) {
    return [make](DeviceRootFixture& d) { d.writeFile(kSettings, make()); };
}

// Settings that silence the alarm, with one more key.
std::function<void(DeviceRootFixture&)> silencingWith(const char* key, PlistValue value,
                                                      bool binary = false) {
    return bytes([=] {
        PlistDict d{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}};
        d[key] = value;
        return binary ? propertyListToBinary(d) : propertyListToXML(d);
    });
}

// Settings of one key (the rest absent).
std::function<void(DeviceRootFixture&)> only(PlistDict d, bool binary = false) {
    return bytes([=] { return binary ? propertyListToBinary(d) : propertyListToXML(d); });
}

std::string silencingXml() {
    return propertyListToXML(PlistDict{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}});
}

std::string withNulAt(std::string s, const std::string& marker) {
    s[s.find(marker)] = '\0';
    return s;
}

// A binary dictionary of the silencing settings plus one key made by hand.
std::string binarySilencingWithKey(std::string key) {
    BinaryPlist b;
    uint64_t enabled = b.add(binaryString("enabled")), t = b.add(binaryTrue());
    uint64_t until = b.add(binaryString("disarmedUntil")), date = b.add(binaryDate(kDeadline));
    uint64_t extra = b.add(std::move(key));
    return b.bytes(b.add(binaryDict({enabled, until, extra}, {t, date, t})));
}

std::string outsideOf(const DeviceRootFixture& d) {
    return d.root().string() + "-outside";
}

const HostileFile kFiles[] = {
    // What no reader can make sense of.
    {"Empty", Outcome::Rings, bytes([] { return std::string(); })},
    {"Garbage", Outcome::Rings, bytes([] { return std::string("\x01\xff not a property list \x7f"); })},
    {"TruncatedXml", Outcome::Rings, bytes([] { return silencingXml().substr(0, 150); })},
    {"TruncatedBinary", Outcome::Rings, bytes([] {
         return propertyListToBinary(PlistDict{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}})
             .substr(0, 40);
     })},
    {"BinaryHeaderOnly", Outcome::Rings, bytes([] { return std::string("bplist00"); })},
    {"ArrayRoot", Outcome::Rings, bytes([] {
         return propertyListToXML(PlistArray{true, NSDate{kDeadline}});
     })},
    {"StringRoot", Outcome::Rings, bytes([] { return propertyListToXML(PlistValue("enabled")); })},
    {"BinaryIntegerRoot", Outcome::Rings, bytes([] { return propertyListToBinary(PlistValue(1)); })},
    // Past the limits.
    {"ReferenceBomb20Levels", Outcome::Rings, bytes([] { return binaryReferenceBomb(20); })},
    {"ReferenceBomb32Levels", Outcome::Rings, bytes([] { return binaryReferenceBomb(32); })},
    {"XmlNested60000", Outcome::Rings, bytes([] { return xmlNestedArrays(60000); })},
    {"XmlNested60000Unclosed", Outcome::Rings, bytes([] { return xmlNestedArrays(60000, false); })},
    {"BinaryNested50000", Outcome::Rings, bytes([] { return binaryNestedArrays(50000); })},
    {"SilencingButTwoMegabytes", Outcome::Rings,
     bytes([] { return std::string(2 << 20, ' ') + silencingXml(); })},
    {"SilencingPlus25000Keys", Outcome::Rings, bytes([] {
         PlistDict d{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}};
         for (int i = 0; i < 25000; ++i)
             d["k" + std::to_string(i)] = i;
         return propertyListToXML(d);
     })},
    {"SparseFiftyMegabytes", Outcome::Rings,
     [](DeviceRootFixture& d) {
         d.writeFile(kSettings, silencingXml());
         fs::resize_file(d.hostPath(kSettings), 50u << 20);
     }},
    // What made libplist abort or our reading fail.
    {"XmlNulInAString", Outcome::Rings, bytes([] {
         return withNulAt(
             propertyListToXML(
                 PlistDict{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}, {"buttonText", "a@b"}}),
             "@");
     })},
    {"XmlNulInAKey", Outcome::Rings, bytes([] {
         return withNulAt(propertyListToXML(
                              PlistDict{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}, {"k@k", 1}}),
                          "@");
     })},
    {"BinaryUtf16KeyWithNul", Outcome::Rings,
     bytes([] { return binarySilencingWithKey(binaryUtf16(std::u16string_view(u"a\0b", 3))); })},
    {"BinaryArrayHoldingItself", Outcome::Rings, bytes([] {
         BinaryPlist b;
         b.add(binaryArray({0}));
         return b.bytes(0);
     })},
    {"BinaryReferenceOutside", Outcome::Rings, bytes([] {
         BinaryPlist b;
         return b.bytes(b.add(binaryDict({b.add(binaryString("enabled"))}, {77})));
     })},
    {"MalformedDate", Outcome::Rings, bytes([] {
         return "<plist><dict><key>enabled</key><true/><key>disarmedUntil</key><date>3000-02-30T00:00:00Z</"
                "date></dict></plist>";
     })},
    {"EmptyDateElement", Outcome::Rings, bytes([] {
         return "<plist><dict><key>enabled</key><true/><key>disarmedUntil</key><date/></dict></plist>";
     })},
    // Not a regular file, or not inside the device.
    {"Folder", Outcome::Rings, [](DeviceRootFixture& d) { fs::create_directories(d.hostPath(kSettings)); }},
    {"Fifo", Outcome::Rings,
     [](DeviceRootFixture& d) { ASSERT_EQ(::mkfifo(d.hostPath(kSettings).c_str(), 0644), 0); }},
    {"Socket", Outcome::Rings,
     [](DeviceRootFixture& d) {
         // A socket file: opening it fails at once, as for any special file.
         int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un a{};
         a.sun_family = AF_UNIX;
         const std::string p = d.hostPath(kSettings).string();
         if (p.size() >= sizeof a.sun_path)
             GTEST_SKIP() << "the root's path is too long for a socket";
         std::strcpy(a.sun_path, p.c_str());
         ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
         ::close(s);
     }},
    {"RelativeLinkOutOfTheRoot", Outcome::Rings,
     [](DeviceRootFixture& d) {
         fs::create_directories(outsideOf(d));
         std::ofstream(outsideOf(d) + "/s.plist") << silencingXml();
         fs::create_symlink("../../../../../../" + fs::path(outsideOf(d)).filename().string() + "/s.plist",
                            d.hostPath(kSettings));
     }},
    {"AbsoluteLinkOutOfTheRoot", Outcome::Rings,
     [](DeviceRootFixture& d) {
         fs::create_directories(outsideOf(d));
         std::ofstream(outsideOf(d) + "/s.plist") << silencingXml();
         fs::create_symlink(outsideOf(d) + "/s.plist", d.hostPath(kSettings));
     }},
    {"LinkLoop", Outcome::Rings,
     [](DeviceRootFixture& d) {
         fs::create_symlink("loop.plist", d.hostPath(kSettings));
         fs::create_symlink("net.vexmoor.hushmark.plist",
                            d.hostPath("/private/var/mobile/Library/Preferences/loop.plist"));
     }},
    {"DanglingLink", Outcome::Rings,
     [](DeviceRootFixture& d) { fs::create_symlink("nowhere.plist", d.hostPath(kSettings)); }},
    {"Unreadable", Outcome::Rings,
     [](DeviceRootFixture& d) {
         if (::geteuid() == 0)
             GTEST_SKIP() << "permissions do not bind the superuser";
         d.writeFile(kSettings, silencingXml());
         fs::permissions(d.hostPath(kSettings), fs::perms::none);
     }},
    {"LinkInsideTheRoot", Outcome::Silenced,
     [](DeviceRootFixture& d) {
         d.writeFile("/tmp/real.plist", silencingXml());
         fs::create_symlink("/tmp/real.plist", d.hostPath(kSettings));
     }},
    // Readable, read by the value rules.
    {"EnabledAsTextYes", Outcome::Silenced, only({{"enabled", "YES"}, {"disarmedUntil", NSDate{kDeadline}}})},
    {"EnabledAsTextZero", Outcome::Rings, only({{"enabled", "0"}, {"disarmedUntil", NSDate{kDeadline}}})},
    {"EnabledAsTwo", Outcome::Silenced, only({{"enabled", 2}, {"disarmedUntil", NSDate{kDeadline}}}, true)},
    {"EnabledAsHalf", Outcome::Silenced, only({{"enabled", 0.5}, {"disarmedUntil", NSDate{kDeadline}}})},
    {"EnabledAsDictionary", Outcome::Rings,
     only({{"enabled", PlistDict{{"x", true}}}, {"disarmedUntil", NSDate{kDeadline}}})},
    {"EnabledAsData", Outcome::Rings,
     only({{"enabled", PlistData{1}}, {"disarmedUntil", NSDate{kDeadline}}}, true)},
    {"DeadlineAsText", Outcome::Rings, only({{"enabled", true}, {"disarmedUntil", "3000-01-01T00:00:00Z"}})},
    {"DeadlineInTheYear3000", Outcome::Silenced,
     only({{"enabled", true}, {"disarmedUntil", NSDate{31556908800.0}}})},
    {"DeadlineInTheYear3000Binary", Outcome::Silenced,
     only({{"enabled", true}, {"disarmedUntil", NSDate{31556908800.0}}}, true)},
    {"DeadlinePast2069WithMicroseconds", Outcome::Silenced,
     only({{"enabled", true}, {"disarmedUntil", NSDate{2147483648.000001}}})},
    {"DeadlineFarPastTheCalendar", Outcome::Silenced,
     only({{"enabled", true}, {"disarmedUntil", NSDate{1e300}}}, true)},
    {"DeadlineInfinite", Outcome::Silenced,
     only({{"enabled", true}, {"disarmedUntil", NSDate{std::numeric_limits<double>::infinity()}}}, true)},
    {"DeadlineMinusInfinity", Outcome::Rings,
     only({{"enabled", true}, {"disarmedUntil", NSDate{-std::numeric_limits<double>::infinity()}}}, true)},
    {"DeadlineNotANumber", Outcome::Survives,
     only({{"enabled", true}, {"disarmedUntil", NSDate{std::nan("")}}}, true)},
    {"DeadlineIn1901", Outcome::Rings, only({{"enabled", true}, {"disarmedUntil", NSDate{-3155760000.0}}})},
    {"MinutesOverflowing", Outcome::Silenced, silencingWith("disableForMinutes", "99999999999")},
    {"MinutesHuge", Outcome::Silenced, silencingWith("disableForMinutes", int64_t{1} << 62, true)},
    {"ColorAsNumber", Outcome::Silenced, silencingWith("buttonColor", 255)},
    {"ColorLongHex", Outcome::Silenced, silencingWith("buttonColor", "#" + std::string(5000, 'F'))},
    {"TextOfHalfAMegabyte", Outcome::Silenced, silencingWith("buttonText", std::string(500000, 'x'))},
    {"TextWithControlCharacters", Outcome::Silenced, silencingWith("buttonText", "\x01\x02\x1b[2J\t\r\n")},
    {"BinaryTextWithNul", Outcome::Silenced,
     bytes([] { return binarySilencingWithKey(binaryString(std::string("a\0b", 3))); })},
    {"ManyKeysWithinTheLimits", Outcome::Silenced, bytes([] {
         PlistDict d{{"enabled", true}, {"disarmedUntil", NSDate{kDeadline}}};
         for (int i = 0; i < 3000; ++i)
             d["key" + std::to_string(i)] = PlistArray{i, "x"}; // 12,000 values
         return propertyListToBinary(d);
     })},
    {"DeeplyNestedWithinTheLimits", Outcome::Silenced,
     silencingWith("deep",
                   [] {
                       PlistValue v = 1;
                       for (int i = 0; i < 30; ++i)
                           v = PlistArray{v};
                       return v;
                   }())},
};

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.rfind(prefix, 0) == 0;
}

void PrintTo(const HostileFile& file, std::ostream* os) {
    *os << file.name;
}

class HostileSettingsFile : public testing::TestWithParam<HostileFile> {};

TEST_P(HostileSettingsFile, BootsBothHostsAndReadsAsMissingOrByTheValueRules) {
    const HostileFile& file = GetParam();
    DeviceRootFixture device;
    file.place(device);
    if (IsSkipped() || HasFatalFailure())
        return;

    SpringBoardHost springBoard;
    const std::vector<std::string> loaded = springBoard.boot();
    ASSERT_NE(std::find(loaded.begin(), loaded.end(), "Hushmark.dylib"), loaded.end());
    RunLoop::main().runFor(10); // past the tweak's start-up delays
    springBoard.addAlarm(springboard::ClockAlarm{"wake", {8, 30, 0}, "Wake", true, true});
    RunLoop::main().runUntil(NSDate{DeviceRootFixture::kStart + 31 * 60});
    const bool rang = !DeviceEvents::ofKind(sbevent::kAlarmDelivered).empty();
    const bool dropped = !DeviceEvents::ofKind(sbevent::kAlarmDropped).empty();
    EXPECT_NE(rang, dropped) << "the alarm came due once";

    SettingsApp settings;
    ASSERT_TRUE(settings.openPane("Hushmark"));
    std::string status;
    for (const std::string& label : settings.rowLabels())
        if (startsWith(label, "Alarms Enabled") || startsWith(label, "Hushmarked Until:"))
            status = label;
    EXPECT_FALSE(status.empty()) << "the page shows its status row";

    switch (file.outcome) {
    case Outcome::Rings:
        EXPECT_TRUE(rang);
        EXPECT_EQ(status, "Alarms Enabled");
        break;
    case Outcome::Silenced:
        EXPECT_TRUE(dropped);
        EXPECT_TRUE(startsWith(status, "Hushmarked Until:")) << status;
        break;
    case Outcome::Survives:
        break;
    }
    if (fs::exists(outsideOf(device))) {
        EXPECT_EQ(fs::file_size(outsideOf(device) + "/s.plist"), silencingXml().size())
            << "nothing written outside";
        fs::remove_all(outsideOf(device));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettingsFile, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<HostileFile>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
