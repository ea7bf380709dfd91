#include "preferences/PSCellClasses.h"

#include <cstdio>

namespace {

bool sameValue(const PlistValue& a, const PlistValue& b) {
    // 1, 1.0 and YES are one number to a row, as NSNumber compares them.
    if (a.isNumber() && b.isNumber())
        return a.doubleValue() == b.doubleValue();
    return a == b;
}

} // namespace

std::string PSDisplayTextOfValue(const PlistValue& value) {
    switch (value.type()) {
    case PlistValue::Type::String:
        return value.asString();
    case PlistValue::Type::Bool:
        return value.asBool() ? "1" : "0";
    case PlistValue::Type::Integer:
        return std::to_string(value.asInteger());
    case PlistValue::Type::Real: {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value.asReal());
        return text;
    }
    default:
        return {};
    }
}

NSInteger PSIndexOfValue(const PlistDict& properties, const PlistValue& value) {
    const PlistValue& values = valueForKey(properties, "validValues");
    const PlistArray& list = values.asArray();
    for (size_t i = 0; i < list.size(); ++i) {
        if (sameValue(list[i], value))
            return NSInteger(i);
    }
    return -1;
}

std::string PSTitleForValue(const PlistDict& properties, const PlistValue& value) {
    const NSInteger index = PSIndexOfValue(properties, value);
    const PlistArray& titles = valueForKey(properties, "validTitles").asArray();
    if (index >= 0 && size_t(index) < titles.size() && titles[size_t(index)].isString()) {
        return titles[size_t(index)].asString();
    }
    return PSDisplayTextOfValue(value);
}
