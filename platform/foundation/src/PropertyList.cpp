// Property-list files: read XML or binary, write XML (atomically through a temporary file).
#include "foundation/PropertyList.h"

#include "PlistConversion.h"
#include "foundation/Device.h"
#include "foundation/DeviceEvents.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(out).str();
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable.
void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool writeAtomically(const std::filesystem::path& path, const std::string& bytes) {
    std::string temp = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    // Keep the old file's permissions; a new file gets the usual 0644.
    struct stat st;
    ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(path.parent_path());
    return true;
}

bool writeInPlace(const std::filesystem::path& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    return (::close(fd) == 0) && ok;
}

} // namespace

std::optional<PlistValue> propertyListFromBytes(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    plist_t raw = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
    if (!raw) return std::nullopt;
    Node node(raw);
    return valueFromPlistNode(node.get());
}

std::string propertyListToXML(const PlistValue& value) {
    Node node(plistNodeFromValue(value));
    if (!node) return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node.get(), &xml, &length);
    std::string out(xml ? xml : "", xml ? length : 0);
    std::free(xml);
    return out;
}

std::string propertyListToBinary(const PlistValue& value) {
    Node node(plistNodeFromValue(value));
    if (!node) return {};
    char* bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(node.get(), &bin, &length);
    std::string out(bin ? bin : "", bin ? length : 0);
    std::free(bin);
    return out;
}

std::optional<PlistValue> propertyListWithContentsOfFile(std::string_view devicePath) {
    auto host = Device::hostPath(devicePath);
    if (!host) return std::nullopt;
    auto bytes = readFile(*host);
    if (!bytes) return std::nullopt;
    return propertyListFromBytes(*bytes);
}

std::optional<PlistDict> dictionaryWithContentsOfFile(std::string_view devicePath) {
    auto value = propertyListWithContentsOfFile(devicePath);
    if (!value || !value->isDict()) return std::nullopt;
    return value->asDict();
}

bool writeToFile(const PlistDict& dict, std::string_view devicePath, bool atomically) {
    auto host = Device::hostPath(devicePath);
    if (!host) return false;
    std::string xml = propertyListToXML(dict);
    if (xml.empty()) return false;
    bool ok = atomically ? writeAtomically(*host, xml) : writeInPlace(*host, xml);
    if (ok) DeviceEvents::record("file written", std::string(devicePath));
    return ok;
}
