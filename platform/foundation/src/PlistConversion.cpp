// PlistValue <-> libplist nodes.
#include "PlistConversion.h"

#include "PlistGuards.h"

#include <cstdlib>

plist_t plistNodeFromValue(const PlistValue& value, std::vector<double>& dates) {
    using T = PlistValue::Type;
    switch (value.type()) {
    case T::Bool:
        return plist_new_bool(value.asBool() ? 1 : 0);
    // libplist keeps integers as 64-bit patterns and writes negative ones with their sign.
    case T::Integer:
        return plist_new_uint(static_cast<uint64_t>(value.asInteger()));
    case T::Real:
        return plist_new_real(value.asReal());
    case T::String:
        return plist_new_string(value.asString().c_str());
    case T::Date:
        dates.push_back(value.asDate().timeIntervalSinceReferenceDate);
        return plist_new_date(static_cast<int32_t>(dates.size() - 1), 0);
    case T::Data: {
        const PlistData& d = value.asData();
        return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
    }
    case T::Array: {
        plist_t a = plist_new_array();
        for (const PlistValue& item : value.asArray())
            if (!item.isNone())
                plist_array_append_item(a, plistNodeFromValue(item, dates));
        return a;
    }
    case T::Dict: {
        plist_t d = plist_new_dict();
        for (const auto& [key, item] : value.asDict())
            if (!item.isNone())
                plist_dict_set_item(d, key.c_str(), plistNodeFromValue(item, dates));
        return d;
    }
    case T::None:
        break;
    }
    return nullptr;
}

namespace {

struct Reader {
    const std::vector<double>& dates;
    size_t nodes = 0;

    // False past a limit; the scans of the bytes keep libplist's tree inside them, so this only
    // guards the conversion itself (the fuzz build stops here: the scan let too much through).
    bool read(plist_t node, int level, PlistValue& out) {
        if (++nodes > kMaxPropertyListNodes || level > kMaxPropertyListNesting) {
#ifdef HM_FUZZ_CHECKS
            std::abort();
#endif
            return false;
        }
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            out = b != 0;
            return true;
        }
        case PLIST_UINT:
        case PLIST_UID: {
            uint64_t v = 0;
            if (plist_get_node_type(node) == PLIST_UID)
                plist_get_uid_val(node, &v);
            else
                plist_get_uint_val(node, &v);
            out = static_cast<int64_t>(v);
            return true;
        }
        case PLIST_REAL: {
            double v = 0;
            plist_get_real_val(node, &v);
            out = v;
            return true;
        }
        case PLIST_STRING: {
            // With its length: libplist's copying getter aborts on a NUL inside the text.
            uint64_t length = 0;
            const char* s = plist_get_string_ptr(node, &length);
            out = std::string(s ? s : "", s ? length : 0);
            return true;
        }
        case PLIST_KEY: {
            char* s = nullptr;
            plist_get_key_val(node, &s);
            out = std::string(s ? s : "");
            std::free(s);
            return true;
        }
        case PLIST_DATE: {
            int32_t index = -1, micro = -1;
            plist_get_date_val(node, &index, &micro);
            if (index < 0 || micro != 0 || static_cast<size_t>(index) >= dates.size())
                return false;
            out = NSDate{dates[static_cast<size_t>(index)]};
            return true;
        }
        case PLIST_DATA: {
            uint64_t length = 0;
            const char* bytes = plist_get_data_ptr(node, &length);
            const auto* b = reinterpret_cast<const uint8_t*>(bytes);
            out = b ? PlistData(b, b + length) : PlistData();
            return true;
        }
        case PLIST_ARRAY: {
            PlistArray a;
            uint32_t n = plist_array_get_size(node);
            a.resize(n);
            for (uint32_t i = 0; i < n; ++i)
                if (!read(plist_array_get_item(node, i), level + 1, a[i]))
                    return false;
            out = std::move(a);
            return true;
        }
        case PLIST_DICT: {
            PlistDict d;
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            bool ok = true;
            while (ok) {
                char* key = nullptr;
                plist_t item = nullptr;
                plist_dict_next_item(node, it, &key, &item);
                if (!key)
                    break;
                ++nodes; // the key's own node
                ok = item && read(item, level + 1, d[key]);
                std::free(key);
            }
            std::free(it);
            if (!ok)
                return false;
            out = std::move(d);
            return true;
        }
        default:
            out = PlistValue();
            return true; // a kind the device's values do not have
        }
    }
};

} // namespace

std::optional<PlistValue> valueFromPlistNode(plist_t node, const std::vector<double>& dates) {
    if (!node)
        return std::nullopt;
    Reader reader{dates};
    PlistValue value;
    if (!reader.read(node, 1, value))
        return std::nullopt;
    return value;
}
