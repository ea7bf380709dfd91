// Property-list values and their readings.
#include "foundation/PlistValue.h"

#include "foundation/ValueReadings.h"

#include <cctype>
#include <cstdio>
#include <ostream>

namespace {
const std::string kEmptyString;
const PlistData kEmptyData;
const PlistArray kEmptyArray;
const PlistDict kEmptyDict;
const PlistValue kNone;
} // namespace

bool PlistValue::asBool() const {
    return isBool() ? std::get<bool>(v_) : false;
}
std::int64_t PlistValue::asInteger() const {
    return isInteger() ? std::get<std::int64_t>(v_) : 0;
}
double PlistValue::asReal() const {
    return isReal() ? std::get<double>(v_) : 0.0;
}
const std::string& PlistValue::asString() const {
    return isString() ? std::get<std::string>(v_) : kEmptyString;
}
NSDate PlistValue::asDate() const {
    return isDate() ? std::get<NSDate>(v_) : NSDate{};
}
const PlistData& PlistValue::asData() const {
    return isData() ? std::get<PlistData>(v_) : kEmptyData;
}
const PlistArray& PlistValue::asArray() const {
    return isArray() ? std::get<PlistArray>(v_) : kEmptyArray;
}
const PlistDict& PlistValue::asDict() const {
    return isDict() ? std::get<PlistDict>(v_) : kEmptyDict;
}

PlistArray& PlistValue::mutableArray() {
    if (!isArray())
        v_ = PlistArray{};
    return std::get<PlistArray>(v_);
}

PlistDict& PlistValue::mutableDict() {
    if (!isDict())
        v_ = PlistDict{};
    return std::get<PlistDict>(v_);
}

const PlistValue& PlistValue::operator[](const std::string& key) const {
    return valueForKey(asDict(), key);
}

const PlistValue& valueForKey(const PlistDict& dict, const std::string& key) {
    auto it = dict.find(key);
    return it == dict.end() ? kNone : it->second;
}

bool PlistValue::boolValue() const {
    switch (type()) {
    case Type::Bool:
        return asBool();
    case Type::Integer:
        return asInteger() != 0;
    case Type::Real:
        return asReal() != 0.0; // NaN is non-zero, as on the device
    case Type::String:
        return NSStringBoolValue(asString());
    default:
        return false;
    }
}

// An NSNumber holding a 64-bit integer gives its low 32 bits as int, as a C conversion does.
int PlistValue::intValue() const {
    switch (type()) {
    case Type::Bool:
        return asBool() ? 1 : 0;
    case Type::Integer:
        return static_cast<int>(static_cast<std::uint32_t>(asInteger()));
    case Type::Real:
        return NSNumberIntValueOfReal(asReal());
    case Type::String:
        return NSStringIntValue(asString());
    default:
        return 0;
    }
}

NSInteger PlistValue::integerValue() const {
    switch (type()) {
    case Type::Bool:
        return asBool() ? 1 : 0;
    case Type::Integer:
        return asInteger();
    case Type::Real:
        return NSNumberIntegerValueOfReal(asReal());
    case Type::String:
        return NSStringIntegerValue(asString());
    default:
        return 0;
    }
}

float PlistValue::floatValue() const {
    switch (type()) {
    case Type::String:
        return NSStringFloatValue(asString());
    default:
        return static_cast<float>(doubleValue());
    }
}

double PlistValue::doubleValue() const {
    switch (type()) {
    case Type::Bool:
        return asBool() ? 1.0 : 0.0;
    case Type::Integer:
        return static_cast<double>(asInteger());
    case Type::Real:
        return asReal();
    case Type::String:
        return NSStringDoubleValue(asString());
    default:
        return 0.0;
    }
}

namespace {
std::string quotedIfNeeded(const std::string& s) {
    bool plain = !s.empty();
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '-' || c == '#'))
            plain = false;
    if (plain)
        return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string number(double d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    return buf;
}
} // namespace

std::string PlistValue::description() const {
    switch (type()) {
    case Type::None:
        return "(none)";
    case Type::Bool:
        return asBool() ? "true" : "false";
    case Type::Integer:
        return std::to_string(asInteger());
    case Type::Real:
        return number(asReal());
    case Type::String:
        return quotedIfNeeded(asString());
    case Type::Date:
        return "@" + number(asDate().timeIntervalSinceReferenceDate);
    case Type::Data: {
        std::string out = "<";
        for (std::uint8_t b : asData()) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", b);
            out += hex;
        }
        return out + ">";
    }
    case Type::Array: {
        std::string out = "(";
        for (const PlistValue& v : asArray())
            out += (out.size() > 1 ? ", " : "") + v.description();
        return out + ")";
    }
    case Type::Dict: {
        std::string out = "{";
        for (const auto& [k, v] : asDict())
            out += quotedIfNeeded(k) + " = " + v.description() + "; ";
        if (out.size() > 1)
            out.resize(out.size() - 2);
        return out + "}";
    }
    }
    return {};
}

void PrintTo(const PlistValue& value, std::ostream* os) {
    *os << value.description();
}
