// Property-list bytes, XML or binary, read as the system reads a settings file: written at the
// settings path of a scratch device root and read through propertyListWithContentsOfFile, with
// every guard in place. Beyond not crashing, hanging or exhausting memory (libFuzzer's own
// limits), a value read stays within the limits, and writing it out again in either format
// reads back the same value.
#include "PlistGuards.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceRoot.h"
#include "foundation/PropertyList.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr const char* kSettingsPath = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
std::string gHostPath;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property-list rule broken: %s\n", what);
        std::abort();
    }
}

// Values, counting dictionary keys, and the deepest level.
void measure(const PlistValue& v, int level, size_t& nodes, int& deepest) {
    ++nodes;
    deepest = std::max(deepest, level);
    if (v.isArray())
        for (const PlistValue& e : v.asArray())
            measure(e, level + 1, nodes, deepest);
    if (v.isDict())
        for (const auto& [key, e] : v.asDict())
            ++nodes, measure(e, level + 1, nodes, deepest);
}

// Equal, with a NaN equal to a NaN (a value read twice must compare equal to itself). Through
// XML a date keeps its whole second (the second that holds it) and about 10^11 years (the
// binary format keeps the double).
bool sameDate(double x, double y, bool xml) {
    if (x == y || (std::isnan(x) && std::isnan(y)))
        return true;
    if (!xml)
        return false;
    if (!std::isfinite(x) || std::fabs(x) > 3e18)
        return true; // clamped to what the text carries
    return std::fabs(std::floor(x) - y) <= std::fabs(x) * 1e-15;
}

bool same(const PlistValue& a, const PlistValue& b, bool xml) {
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case PlistValue::Type::Real:
        return a.asReal() == b.asReal() || (std::isnan(a.asReal()) && std::isnan(b.asReal()));
    case PlistValue::Type::Date:
        return sameDate(a.asDate().timeIntervalSinceReferenceDate, b.asDate().timeIntervalSinceReferenceDate,
                        xml);
    case PlistValue::Type::Array: {
        const auto &x = a.asArray(), &y = b.asArray();
        if (x.size() != y.size())
            return false;
        for (size_t i = 0; i < x.size(); ++i)
            if (!same(x[i], y[i], xml))
                return false;
        return true;
    }
    case PlistValue::Type::Dict: {
        const auto &x = a.asDict(), &y = b.asDict();
        if (x.size() != y.size())
            return false;
        for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j)
            if (i->first != j->first || !same(i->second, j->second, xml))
                return false;
        return true;
    }
    default:
        return a == b;
    }
}

bool validUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const size_t n = c >= 0xC2 && c <= 0xDF   ? 1
                         : c >= 0xE0 && c <= 0xEF ? 2
                         : c >= 0xF0 && c <= 0xF4 ? 3
                                                  : 0;
        if (n == 0 || i + n >= s.size())
            return false;
        uint32_t cp = c & (0x3F >> n);
        for (size_t k = 1; k <= n; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (d & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

// Whether every string and key is UTF-8: the binary format keeps text as ASCII or UTF-16, so
// other bytes cannot come back from it (the system writes XML, which keeps them).
bool textIsUtf8(const PlistValue& v) {
    if (v.isString())
        return validUtf8(v.asString());
    if (v.isArray())
        for (const PlistValue& e : v.asArray())
            if (!textIsUtf8(e))
                return false;
    if (v.isDict())
        for (const auto& [key, e] : v.asDict())
            if (!validUtf8(key) || !textIsUtf8(e))
                return false;
    return true;
}

void writeHostFile(const uint8_t* data, size_t size) {
    int fd = ::open(gHostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0, "the settings file can be written");
    for (size_t done = 0; done < size;) {
        ssize_t n = ::write(fd, data + done, size - done);
        check(n > 0, "the settings file can be written");
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

void checkRoundTrip(const PlistValue& value, const std::string& bytes, bool xml) {
    if (bytes.empty() || bytes.size() > kMaxPropertyListBytes)
        return; // too large to read back, by design
    auto again = propertyListFromBytes(bytes);
    if (!again || !same(value, *again, xml)) {
        std::fprintf(stderr, "%s of the value read does not read back the same\nread: %s\nback: %s\n",
                     xml ? "XML" : "Binary", value.description().c_str(),
                     again ? again->description().c_str() : "(nothing)");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory where the machine has it: a disk's file system flushes a file truncated and rewritten.
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/hm-fuzz-plist-XXXXXX"
                                                                    : "/tmp/hm-fuzz-plist-XXXXXX";
    check(::mkdtemp(pattern.data()) != nullptr, "a scratch root can be made");
    std::filesystem::path root = pattern.c_str();
    check(createDeviceRootSkeleton(root), "the scratch root can be laid out");
    DeviceEnvironment::setRoot(root, RootDurability::Scratch);
    gHostPath = (root / std::string(kSettingsPath).substr(1)).string();
    // The folder goes when the process ends, whichever way it ends.
    static struct Cleanup {
        std::filesystem::path root;
        ~Cleanup() {
            std::error_code ec;
            std::filesystem::remove_all(root, ec);
        }
    } cleanup{root};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeHostFile(data, size);
    auto value = propertyListWithContentsOfFile(kSettingsPath);
    if (!value)
        return 0;
    size_t nodes = 0;
    int deepest = 0;
    measure(*value, 1, nodes, deepest);
    check(nodes <= kMaxPropertyListNodes, "no more values than the node limit");
    check(deepest <= kMaxPropertyListNesting, "no deeper than the nesting limit");
    checkRoundTrip(*value, propertyListToXML(*value), true);
    if (textIsUtf8(*value))
        checkRoundTrip(*value, propertyListToBinary(*value), false);
    return 0;
}
