// Property-list bytes made by hand, for tests that need files no writer would make: binary
// lists whose objects share and nest as the test says, XML with what libplist chokes on.
//
//   BinaryPlist b;
//   auto leaf = b.add(binaryInteger(7));
//   auto list = b.add(binaryArray({leaf, leaf}));
//   std::string bytes = b.bytes(list);
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace plistbytes {

inline std::string bigEndian(uint64_t v, int n) {
    std::string out(static_cast<size_t>(n), '\0');
    for (int i = n - 1; i >= 0; --i, v >>= 8)
        out[static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
    return out;
}

// References in the objects below are 4 bytes wide.
inline constexpr int kRefSize = 4;

// A marker with a count: in its low nibble, or 0xF and an integer object after it.
inline std::string counted(unsigned type, uint64_t count) {
    if (count < 15)
        return std::string(1, static_cast<char>(type << 4 | count));
    return std::string(1, static_cast<char>(type << 4 | 0xF)) + "\x13" + bigEndian(count, 8);
}

inline std::string binaryInteger(int64_t v) {
    return "\x13" + bigEndian(static_cast<uint64_t>(v), 8);
}
inline std::string binaryTrue() {
    return "\x09";
}
inline std::string binaryString(std::string_view s) {
    return counted(0x5, s.size()) + std::string(s);
}
inline std::string binaryUtf16(std::u16string_view s) {
    std::string out = counted(0x6, s.size());
    for (char16_t c : s)
        out += bigEndian(c, 2);
    return out;
}
inline std::string binaryDate(double seconds) {
    uint64_t bits;
    std::memcpy(&bits, &seconds, 8);
    return "\x33" + bigEndian(bits, 8);
}
inline std::string binaryArray(const std::vector<uint64_t>& refs) {
    std::string out = counted(0xA, refs.size());
    for (uint64_t r : refs)
        out += bigEndian(r, kRefSize);
    return out;
}
inline std::string binaryDict(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& values) {
    std::string out = counted(0xD, keys.size());
    for (uint64_t r : keys)
        out += bigEndian(r, kRefSize);
    for (uint64_t r : values)
        out += bigEndian(r, kRefSize);
    return out;
}

struct BinaryPlist {
    std::vector<std::string> objects;

    uint64_t add(std::string object) {
        objects.push_back(std::move(object));
        return objects.size() - 1;
    }
    // The file: header, objects in order, offset table (8-byte offsets), trailer.
    std::string bytes(uint64_t top) const {
        std::string out = "bplist00";
        std::vector<uint64_t> offsets;
        for (const std::string& o : objects) {
            offsets.push_back(out.size());
            out += o;
        }
        const uint64_t table = out.size();
        for (uint64_t o : offsets)
            out += bigEndian(o, 8);
        out += std::string(6, '\0') + "\x08" + static_cast<char>(kRefSize);
        out += bigEndian(objects.size(), 8) + bigEndian(top, 8) + bigEndian(table, 8);
        return out;
    }
};

// Arrays `levels` deep, each holding the one below twice: 2^levels nodes once expanded.
inline std::string binaryReferenceBomb(int levels) {
    BinaryPlist b;
    uint64_t below = b.add(binaryInteger(1));
    for (int i = 0; i < levels; ++i)
        below = b.add(binaryArray({below, below}));
    return b.bytes(below);
}

// Arrays nested `levels` deep around one integer (levels + 1 levels of values).
inline std::string binaryNestedArrays(int levels) {
    BinaryPlist b;
    uint64_t below = b.add(binaryInteger(1));
    for (int i = 0; i < levels; ++i)
        below = b.add(binaryArray({below}));
    return b.bytes(below);
}

inline std::string xmlPlist(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           std::string(body) + "\n</plist>\n";
}

inline std::string xmlNestedArrays(int levels, bool closed = true) {
    std::string body;
    body.reserve(static_cast<size_t>(levels) * 16 + 32);
    for (int i = 0; i < levels; ++i)
        body += "<array>";
    body += "<integer>1</integer>";
    if (closed)
        for (int i = 0; i < levels; ++i)
            body += "</array>";
    return xmlPlist(body);
}

} // namespace plistbytes
