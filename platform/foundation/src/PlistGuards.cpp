// The scans behind the property-list limits (see PlistGuards.h).
#include "PlistGuards.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool startsWith(std::string_view s, size_t at, std::string_view prefix) {
    return s.compare(at, prefix.size(), prefix) == 0;
}
bool isNameEnd(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '>' || c == '/';
}

// ---------------------------------------------------------------------------------------------
// XML: where elements open and close, counted so that the count is never below the depth
// libplist reaches, whichever way it reads a doubtful spot: every "<" that could open an element
// opens one (also inside attribute values), and a close tag only counts outside every tag, and
// when it closes the element open at that point. Comments, CDATA sections and processing
// instructions end where XML ends them; declarations such as <!DOCTYPE ...> may not hold an
// internal subset. Where a tag ends is doubtful when a quote holds a ">": up to the later end,
// closes are ignored.

// The first '>' from `at`, and the first one outside double quotes; npos when none.
std::pair<size_t, size_t> tagEnds(std::string_view s, size_t at) {
    size_t first = s.find('>', at), outside = std::string_view::npos;
    bool quoted = false;
    for (size_t i = at; i < s.size(); ++i) {
        if (s[i] == '"')
            quoted = !quoted;
        else if (s[i] == '>' && !quoted) {
            outside = i;
            break;
        }
    }
    return {first, outside};
}

std::string_view nameAt(std::string_view s, size_t at) {
    size_t end = at;
    while (end < s.size() && !isNameEnd(s[end]) && s[end] != '<')
        ++end;
    return s.substr(at, end - at);
}

struct XmlCount {
    std::vector<std::string_view> open; // names of the elements open here
    size_t elements = 0;

    bool push(std::string_view name) {
        open.push_back(name);
        return ++elements <= kMaxPropertyListNodes + 1 &&
               open.size() <= static_cast<size_t>(kMaxPropertyListNesting) + 1;
    }
    // Every '<' in (from, to) that could start an element opens one.
    bool pushInside(std::string_view s, size_t from, size_t to) {
        for (size_t i = s.find('<', from + 1); i < to; i = s.find('<', i + 1))
            if (!push(nameAt(s, i + 1)))
                return false;
        return true;
    }
};

std::optional<PlistScan> scanXml(std::string_view s) {
    if (std::memchr(s.data(), '\0', s.size()))
        return std::nullopt; // not XML, and libplist aborts on it
    PlistScan scan;
    XmlCount count;
    constexpr size_t npos = std::string_view::npos;
    size_t i = 0;
    while ((i = s.find('<', i)) != npos) {
        if (startsWith(s, i, "<!--") || startsWith(s, i, "<![CDATA[") || startsWith(s, i, "<?")) {
            // Searched from the earliest place it could be: ending later than libplist would hide markup.
            const std::string_view end = s[i + 1] == '?' ? "?>" : s[i + 2] == '-' ? "-->" : "]]>";
            size_t e = s.find(end, i + 1);
            if (e == npos)
                break; // unterminated: libplist refuses the rest
            i = e + end.size();
        } else if (startsWith(s, i, "<!")) {
            auto [first, outside] = tagEnds(s, i + 2);
            if (first == npos)
                break;
            if (s.substr(i, first - i).find('[') != npos)
                return std::nullopt; // an internal subset
            if (outside == npos)
                break;
            if (!count.pushInside(s, i, outside))
                return std::nullopt;
            i = outside + 1;
        } else if (startsWith(s, i, "</")) {
            size_t e = s.find('>', i + 2);
            if (e == npos)
                break;
            if (!count.pushInside(s, i + 1, e))
                return std::nullopt;
            if (!count.open.empty() && nameAt(s, i + 2) == count.open.back())
                count.open.pop_back();
            i = e + 1;
        } else {
            std::string_view name = nameAt(s, i + 1);
            auto [first, outside] = tagEnds(s, i + 1);
            if (first == npos)
                break;
            const size_t e = outside == npos ? s.size() : outside;
            const bool empty = first == outside && s[first - 1] == '/';
            if (name == "date") {
                // Plain "<date>", then its text up to "</date>": anything else is refused.
                size_t close = s.find('<', i + 1);
                if (empty || first != i + 5 || close == npos || !startsWith(s, close, "</date") ||
                    close + 6 >= s.size() || !isNameEnd(s[close + 6]))
                    return std::nullopt;
                scan.dates.push_back({first + 1, close - first - 1});
            }
            if (empty ? ++count.elements > kMaxPropertyListNodes + 1 : !count.push(name))
                return std::nullopt;
            if (!count.pushInside(s, i, e))
                return std::nullopt;
            if (outside == npos)
                break;
            i = outside + 1;
        }
    }
    return scan;
}

// ---------------------------------------------------------------------------------------------
// Binary: the trailer, the offset table and the references of arrays, sets and dictionaries,
// walked from the top object with each object's expanded size and depth computed once.

uint64_t bigEndian(const unsigned char* p, size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i)
        v = v << 8 | p[i];
    return v;
}

struct Binary {
    const unsigned char* data;
    size_t size;
    size_t offsetSize, refSize, tableOffset;
    uint64_t objects, top;

    // The object's offset; none when the table or the offset lies outside the object area.
    std::optional<size_t> offsetOf(uint64_t object) const {
        uint64_t o = bigEndian(data + tableOffset + object * offsetSize, offsetSize);
        if (o < 8 || o >= tableOffset)
            return std::nullopt;
        return static_cast<size_t>(o);
    }

    // A container's or string's count and where its contents begin; none when malformed.
    std::optional<std::pair<uint64_t, size_t>> countAt(size_t offset) const {
        unsigned info = data[offset] & 0x0F;
        size_t p = offset + 1;
        if (info != 0x0F)
            return std::make_pair(uint64_t{info}, p);
        if (p >= tableOffset || (data[p] >> 4) != 0x1)
            return std::nullopt;
        size_t bytes = size_t{1} << (data[p] & 0x0F);
        if (bytes > 8 || p + 1 + bytes > tableOffset)
            return std::nullopt;
        return std::make_pair(bigEndian(data + p + 1, bytes), p + 1 + bytes);
    }
};

struct Children {
    size_t at = 0;
    uint64_t count = 0; // references, keys and values together for a dictionary
};

std::optional<Children> childrenOf(const Binary& b, size_t offset) {
    unsigned type = b.data[offset] >> 4;
    if (type != 0xA && type != 0xC && type != 0xD)
        return Children{};
    auto counted = b.countAt(offset);
    if (!counted)
        return std::nullopt;
    auto [count, at] = *counted;
    uint64_t perEntry = type == 0xD ? 2 : 1;
    if (count > (b.tableOffset - at) / b.refSize / perEntry)
        return std::nullopt;
    return Children{at, count * perEntry};
}

// The end of a UTF-16 string's text; none for one holding U+0000, which libplist turns into a
// text whose length disagrees with its first NUL (an abort when it is a dictionary key).
std::optional<size_t> utf16End(const Binary& b, size_t offset) {
    auto counted = b.countAt(offset);
    if (!counted)
        return std::nullopt;
    auto [units, at] = *counted;
    if (units > (b.tableOffset - at) / 2)
        return offset + 1; // libplist refuses it as too long
    for (uint64_t k = 0; k < units; ++k)
        if (b.data[at + 2 * k] == 0 && b.data[at + 2 * k + 1] == 0)
            return std::nullopt;
    return at + 2 * units;
}

// The bytes an object's shape depends on: a container's marker, count and references, a UTF-16
// string whole, a date's marker and double, any other object's marker. Dates are rewritten in
// place before libplist reads them, so no other object may share a date's bytes.
struct Region {
    size_t begin, end;
    bool operator<(const Region& o) const { return begin != o.begin ? begin < o.begin : end < o.end; }
    bool operator==(const Region& o) const = default;
};

bool regionsApart(std::vector<Region>& regions) {
    std::sort(regions.begin(), regions.end());
    regions.erase(std::unique(regions.begin(), regions.end()), regions.end()); // one object listed twice
    for (size_t i = 1; i < regions.size(); ++i)
        if (regions[i].begin < regions[i - 1].end)
            return false;
    return true;
}

std::optional<PlistScan> scanBinary(std::string_view s) {
    if (s.size() < 8 + 1 + 1 + 32)
        return std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* trailer = data + s.size() - 32;
    Binary b{
        data, s.size(), trailer[6], trailer[7], 0, bigEndian(trailer + 8, 8), bigEndian(trailer + 16, 8)};
    uint64_t table = bigEndian(trailer + 24, 8);
    const size_t trailerAt = s.size() - 32;
    if (b.offsetSize < 1 || b.offsetSize > 8 || b.refSize < 1 || b.refSize > 8)
        return std::nullopt;
    if (table < 9 || table >= trailerAt || b.objects == 0 || b.top >= b.objects)
        return std::nullopt;
    if (b.objects > (trailerAt - table) / b.offsetSize)
        return std::nullopt;
    b.tableOffset = static_cast<size_t>(table);

    enum : uint8_t { Unseen, Open, Done };
    std::vector<uint8_t> state(b.objects, Unseen);
    std::vector<uint32_t> expanded(b.objects, 0); // nodes libplist builds for the object, capped
    std::vector<uint8_t> depth(b.objects, 0);
    struct Frame {
        uint64_t object;
        Children children;
        uint64_t next = 0;
        uint64_t nodes = 1;
        int deepest = 0;
    };
    std::vector<Frame> stack;
    std::vector<Region> regions;
    PlistScan scan;
    scan.binary = true;

    // Enters an object: false when it is malformed. Leaves are finished at once.
    auto enter = [&](uint64_t object) -> bool {
        auto offset = b.offsetOf(object);
        if (!offset)
            return false;
        unsigned char marker = data[*offset];
        size_t end = *offset + 1;
        if (marker == 0x33) {
            end = *offset + 9;
            if (end > b.tableOffset)
                return false;
            scan.dates.push_back({*offset + 1, 8});
        } else if ((marker >> 4) == 0x6) {
            auto textEnd = utf16End(b, *offset);
            if (!textEnd)
                return false;
            end = *textEnd;
        }
        auto children = childrenOf(b, *offset);
        if (!children)
            return false;
        if (children->at)
            end = children->at + children->count * b.refSize; // a container, even empty
        regions.push_back({*offset, end});
        if (children->count == 0) {
            state[object] = Done;
            expanded[object] = 1;
            depth[object] = 1;
            return true;
        }
        if (stack.size() >= static_cast<size_t>(kMaxPropertyListNesting))
            return false; // too deep from the top
        state[object] = Open;
        stack.push_back({object, *children});
        return true;
    };

    if (!enter(b.top))
        return std::nullopt;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next < f.children.count) {
            uint64_t child = bigEndian(data + f.children.at + f.next * b.refSize, b.refSize);
            ++f.next;
            if (child >= b.objects || state[child] == Open)
                return std::nullopt; // outside, or a cycle
            if (state[child] == Unseen) {
                if (!enter(child))
                    return std::nullopt;
                if (state[child] == Open)
                    continue; // its frame is on top now
            }
            Frame& parent = stack.back();
            parent.nodes = std::min<uint64_t>(parent.nodes + expanded[child], kMaxPropertyListNodes + 1);
            parent.deepest = std::max<int>(parent.deepest, depth[child]);
            continue;
        }
        Frame done = f;
        stack.pop_back();
        if (done.deepest + 1 > kMaxPropertyListNesting)
            return std::nullopt;
        state[done.object] = Done;
        expanded[done.object] = static_cast<uint32_t>(done.nodes);
        depth[done.object] = static_cast<uint8_t>(done.deepest + 1);
        if (!stack.empty()) {
            Frame& parent = stack.back();
            parent.nodes = std::min<uint64_t>(parent.nodes + done.nodes, kMaxPropertyListNodes + 1);
            parent.deepest = std::max<int>(parent.deepest, done.deepest + 1);
        }
    }
    if (expanded[b.top] > kMaxPropertyListNodes || !regionsApart(regions))
        return std::nullopt;
    std::sort(scan.dates.begin(), scan.dates.end(), [](auto& x, auto& y) { return x.offset < y.offset; });
    scan.dates.erase(std::unique(scan.dates.begin(), scan.dates.end(),
                                 [](auto& x, auto& y) { return x.offset == y.offset; }),
                     scan.dates.end());
    return scan;
}

} // namespace

std::optional<PlistScan> scanPropertyList(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > kMaxPropertyListBytes)
        return std::nullopt;
    if (bytes.substr(0, 8) == "bplist00")
        return scanBinary(bytes);
    return scanXml(bytes);
}
