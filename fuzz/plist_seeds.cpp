// plist_seeds SOURCE DEST: writes into DEST the binary twin of every XML seed in SOURCE, and
// binary shapes no writer makes: shared objects (a small reference bomb), a cycle, a date past
// 32 bits of seconds, a UTF-16 string, a reference past the table. Generated, not checked in.
#include "PlistBytes.h"
#include "foundation/PropertyList.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;
using namespace plistbytes;

namespace {

bool put(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::string sharedArrays(int levels) {
    BinaryPlist b;
    uint64_t below = b.add(binaryInteger(7));
    for (int i = 0; i < levels; ++i)
        below = b.add(binaryArray({below, below}));
    return b.bytes(below);
}

std::string cycle() {
    BinaryPlist b;
    b.add(binaryArray({1}));
    b.add(binaryArray({0}));
    return b.bytes(0);
}

std::string settingsShape() {
    BinaryPlist b;
    auto enabled = b.add(binaryString("enabled"));
    auto until = b.add(binaryString("disarmedUntil"));
    auto label = b.add(binaryUtf16(u"r\u00e9veil"));
    auto yes = b.add(binaryTrue());
    auto date = b.add(binaryDate(40000000000.0));
    auto dict = b.add(binaryDict({enabled, until, label}, {yes, date, label}));
    return b.bytes(dict);
}

std::string refPastTable() {
    BinaryPlist b;
    b.add(binaryArray({5}));
    return b.bytes(0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: plist_seeds SOURCE-FOLDER DEST-FOLDER\n");
        return 2;
    }
    std::error_code ec;
    fs::create_directories(argv[2], ec);
    const fs::path dest = argv[2];
    int written = 0;
    for (const auto& entry : fs::directory_iterator(argv[1], ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto value = propertyListFromBytes(xml);
        if (!value)
            continue;
        if (!put(dest / (entry.path().stem().string() + ".bin"), propertyListToBinary(*value)))
            return 1;
        ++written;
    }
    if (ec) {
        std::fprintf(stderr, "plist_seeds: cannot list %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    if (!put(dest / "shared-arrays.bin", sharedArrays(8)) || !put(dest / "cycle.bin", cycle()) ||
        !put(dest / "settings-shape.bin", settingsShape()) ||
        !put(dest / "ref-past-table.bin", refPastTable()))
        return 1;
    std::printf("plist_seeds: %d binary twins and 4 shapes in %s\n", written, argv[2]);
    return 0;
}
