// PlistValue <-> libplist nodes.
#include "PlistConversion.h"

#include <cmath>
#include <cstdlib>

plist_t plistNodeFromValue(const PlistValue& value) {
    using T = PlistValue::Type;
    switch (value.type()) {
    case T::Bool: return plist_new_bool(value.asBool() ? 1 : 0);
    // libplist keeps integers as 64-bit patterns and writes negative ones with their sign.
    case T::Integer: return plist_new_uint(static_cast<uint64_t>(value.asInteger()));
    case T::Real: return plist_new_real(value.asReal());
    case T::String: return plist_new_string(value.asString().c_str());
    case T::Date: {
        double t = value.asDate().timeIntervalSinceReferenceDate;
        double whole = std::floor(t);
        return plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>(std::lround((t - whole) * 1e6) % 1000000));
    }
    case T::Data: {
        const PlistData& d = value.asData();
        return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
    }
    case T::Array: {
        plist_t a = plist_new_array();
        for (const PlistValue& item : value.asArray())
            if (!item.isNone()) plist_array_append_item(a, plistNodeFromValue(item));
        return a;
    }
    case T::Dict: {
        plist_t d = plist_new_dict();
        for (const auto& [key, item] : value.asDict())
            if (!item.isNone()) plist_dict_set_item(d, key.c_str(), plistNodeFromValue(item));
        return d;
    }
    case T::None: break;
    }
    return nullptr;
}

PlistValue valueFromPlistNode(plist_t node) {
    if (!node) return {};
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return b != 0;
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return static_cast<int64_t>(v);
    }
    case PLIST_UID: {
        uint64_t v = 0;
        plist_get_uid_val(node, &v);
        return static_cast<int64_t>(v);
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return v;
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        char* s = nullptr;
        if (plist_get_node_type(node) == PLIST_KEY) plist_get_key_val(node, &s);
        else plist_get_string_val(node, &s);
        PlistValue v = std::string(s ? s : "");
        std::free(s);
        return v;
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return NSDate{static_cast<double>(sec) + static_cast<double>(usec) / 1e6};
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        PlistData d(reinterpret_cast<uint8_t*>(bytes), reinterpret_cast<uint8_t*>(bytes) + length);
        std::free(bytes);
        return d;
    }
    case PLIST_ARRAY: {
        PlistArray a;
        uint32_t n = plist_array_get_size(node);
        a.reserve(n);
        for (uint32_t i = 0; i < n; ++i) a.push_back(valueFromPlistNode(plist_array_get_item(node, i)));
        return a;
    }
    case PLIST_DICT: {
        PlistDict d;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, it, &key, &item);
            if (!key) break;
            d[key] = valueFromPlistNode(item);
            std::free(key);
        }
        std::free(it);
        return d;
    }
    default: return {};
    }
}
