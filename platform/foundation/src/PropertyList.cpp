// Property-list files: read XML or binary within the limits of PlistGuards.h, write XML.
#include "foundation/PropertyList.h"

#include "PlistConversion.h"
#include "PlistDates.h"
#include "PlistGuards.h"
#include "foundation/DeviceEvents.h"
#include "foundation/DeviceFiles.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

struct NodeDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// The bytes with each date replaced by its index in `dates`, where the date itself goes.
std::optional<std::string> withDateIndexes(std::string_view bytes, const PlistScan& scan,
                                           std::vector<double>& dates) {
    std::string out;
    out.reserve(bytes.size() + 16 * scan.dates.size());
    size_t copied = 0;
    for (const PlistDateSpan& span : scan.dates) {
        const double index = static_cast<double>(dates.size());
        out.append(bytes.substr(copied, span.offset - copied));
        if (scan.binary) {
            dates.push_back(
                loadBigEndianDouble(reinterpret_cast<const unsigned char*>(bytes.data() + span.offset)));
            unsigned char tag[8];
            storeBigEndianDouble(index, tag);
            out.append(reinterpret_cast<const char*>(tag), 8);
        } else {
            auto date = plistDateFromText(bytes.substr(span.offset, span.length));
            if (!date)
                return std::nullopt;
            dates.push_back(*date);
            out.append(plistDateText(index));
        }
        copied = span.offset + span.length;
    }
    out.append(bytes.substr(copied));
    return out;
}

// The date index a date written by libplist holds; none when it is not one of `count`.
std::optional<size_t> dateIndex(double written, size_t count) {
    if (!(written >= 0) || written >= static_cast<double>(count) || written != std::floor(written))
        return std::nullopt;
    return static_cast<size_t>(written);
}

std::string xmlWithDates(std::string xml, const std::vector<double>& dates) {
    if (dates.empty())
        return xml;
    std::string out;
    out.reserve(xml.size() + 8 * dates.size());
    size_t copied = 0, open;
    while ((open = xml.find("<date>", copied)) != std::string::npos) {
        const size_t text = open + 6, close = xml.find("</date>", text);
        if (close == std::string::npos)
            return {};
        auto written = plistDateFromText(std::string_view(xml).substr(text, close - text));
        auto index = written ? dateIndex(*written, dates.size()) : std::nullopt;
        if (!index)
            return {};
        out.append(xml, copied, text - copied);
        out.append(plistDateText(dates[*index]));
        copied = close;
    }
    out.append(xml, copied);
    return out;
}

std::string binaryWithDates(std::string bin, const std::vector<double>& dates) {
    if (dates.empty())
        return bin;
    auto scan = scanPropertyList(bin);
    if (!scan)
        return {};
    for (const PlistDateSpan& span : scan->dates) {
        auto* bytes = reinterpret_cast<unsigned char*>(bin.data() + span.offset);
        auto index = dateIndex(loadBigEndianDouble(bytes), dates.size());
        if (!index)
            return {};
        storeBigEndianDouble(dates[*index], bytes);
    }
    return bin;
}

} // namespace

std::optional<PlistValue> propertyListFromBytes(std::string_view bytes) {
    auto scan = scanPropertyList(bytes);
    if (!scan)
        return std::nullopt;
    std::vector<double> dates;
    std::optional<std::string> indexed;
    if (!scan->dates.empty()) {
        indexed = withDateIndexes(bytes, *scan, dates);
        if (!indexed)
            return std::nullopt;
        bytes = *indexed;
    }
    plist_t raw = nullptr;
    if (scan->binary)
        plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
    else
        plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
    Node node(raw);
    return valueFromPlistNode(node.get(), dates);
}

std::string propertyListToXML(const PlistValue& value) {
    std::vector<double> dates;
    Node node(plistNodeFromValue(value, dates));
    if (!node)
        return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node.get(), &xml, &length);
    std::string out(xml ? xml : "", xml ? length : 0);
    std::free(xml);
    return xmlWithDates(std::move(out), dates);
}

std::string propertyListToBinary(const PlistValue& value) {
    std::vector<double> dates;
    Node node(plistNodeFromValue(value, dates));
    if (!node)
        return {};
    char* bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(node.get(), &bin, &length);
    std::string out(bin ? bin : "", bin ? length : 0);
    std::free(bin);
    return binaryWithDates(std::move(out), dates);
}

std::optional<PlistValue> propertyListWithContentsOfFile(std::string_view devicePath) {
    auto bytes = readDeviceFile(devicePath, kMaxPropertyListBytes);
    if (!bytes)
        return std::nullopt;
    return propertyListFromBytes(*bytes);
}

std::optional<PlistDict> dictionaryWithContentsOfFile(std::string_view devicePath) {
    auto value = propertyListWithContentsOfFile(devicePath);
    if (!value || !value->isDict())
        return std::nullopt;
    return std::move(value->mutableDict());
}

bool writeToFile(const PlistDict& dict, std::string_view devicePath, bool atomically) {
    std::string xml = propertyListToXML(dict);
    // A failure is returned, and also recorded: callers on the device ignore the result, as
    // they may, and the record is then the only trace of it.
    if (xml.empty() || !writeDeviceFile(devicePath, xml, atomically)) {
        const std::string reason =
            xml.empty() ? "the values form no property list" : deviceFileErrorText(errno);
        DeviceEvents::record("file write failed", std::string(devicePath) + ": " + reason);
        return false;
    }
    DeviceEvents::record("file written", std::string(devicePath));
    return true;
}
