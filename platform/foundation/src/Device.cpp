// The device root and the mapping of device paths into it.
//
// Paths resolve one component at a time, as a chroot would: links are followed by reading them,
// an absolute link target counts from the device root, and ".." never climbs above the root (a
// path that tries is refused rather than clamped, so a mistake shows as a missing file instead
// of touching another file).
#include "foundation/Device.h"

#include "foundation/PropertyList.h"

#include <deque>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::mutex gMutex;
fs::path gRoot;

constexpr int kMaxLinks = 40; // as the kernel's limit on links in one lookup

std::deque<std::string> components(std::string_view path) {
    std::deque<std::string> out;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string_view::npos) j = path.size();
        if (j > i) out.emplace_back(path.substr(i, j - i));
        i = j + 1;
    }
    return out;
}

std::optional<std::string> readLink(const fs::path& p) {
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::nullopt;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    ssize_t n = readlink(p.c_str(), target.data(), target.size());
    if (n < 0) return std::nullopt;
    target.resize(static_cast<size_t>(n));
    return target;
}

// `target` below `root`, as a path relative to it; none when it lies elsewhere.
std::optional<std::string> insideRoot(const fs::path& target, const fs::path& root) {
    fs::path t = target.lexically_normal();
    auto r = root.begin();
    auto x = t.begin();
    for (; r != root.end(); ++r, ++x) {
        if (r->empty()) continue; // trailing separator of the root
        if (x == t.end() || *x != *r) return std::nullopt;
    }
    fs::path rest;
    for (; x != t.end(); ++x) rest /= *x;
    return rest.string();
}
} // namespace

void Device::setRoot(fs::path root) {
    std::error_code ec;
    fs::path canonical = root.empty() ? root : fs::weakly_canonical(fs::absolute(root, ec), ec);
    std::lock_guard lock(gMutex);
    gRoot = ec ? root : canonical;
}

fs::path Device::root() {
    std::lock_guard lock(gMutex);
    return gRoot;
}

std::optional<fs::path> Device::hostPath(std::string_view devicePath) {
    fs::path root = Device::root();
    if (root.empty() || devicePath.empty() || devicePath.front() != '/') return std::nullopt;
    std::deque<std::string> pending = components(devicePath);
    std::vector<std::string> resolved;
    int links = 0;
    auto current = [&] {
        fs::path p = root;
        for (const auto& c : resolved) p /= c;
        return p;
    };
    while (!pending.empty()) {
        std::string c = std::move(pending.front());
        pending.pop_front();
        if (c == ".") continue;
        if (c == "..") {
            if (resolved.empty()) return std::nullopt;
            resolved.pop_back();
            continue;
        }
        fs::path candidate = current() / c;
        if (auto target = readLink(candidate)) {
            if (++links > kMaxLinks) return std::nullopt;
            std::string t = *target;
            if (!t.empty() && t.front() == '/') {
                // A link made with the host's absolute path into the root, or a device path.
                if (auto rest = insideRoot(t, root)) t = "/" + *rest;
                resolved.clear();
            }
            std::deque<std::string> more = components(t);
            pending.insert(pending.begin(), more.begin(), more.end());
            continue;
        }
        resolved.push_back(std::move(c));
    }
    return current();
}

namespace {
PlistDict globalPreferences() { return dictionaryWithContentsOfFile(kGlobalPreferencesPath).value_or(PlistDict{}); }
} // namespace

std::string Device::locale() {
    PlistDict prefs = globalPreferences();
    const PlistValue& v = valueForKey(prefs, "AppleLocale");
    return v.isString() && !v.asString().empty() ? v.asString() : "en_US";
}

std::vector<std::string> Device::preferredLanguages() {
    PlistDict prefs = globalPreferences();
    std::vector<std::string> out;
    for (const PlistValue& v : valueForKey(prefs, "AppleLanguages").asArray())
        if (v.isString() && !v.asString().empty()) out.push_back(v.asString());
    if (out.empty()) out.push_back("en");
    return out;
}

std::string Device::timeZone() {
    PlistDict prefs = globalPreferences();
    const PlistValue& v = valueForKey(prefs, "TimeZone");
    return v.isString() && !v.asString().empty() ? v.asString() : "UTC";
}
