// A property-list value: none, boolean, integer, real, string, date, data, array or dictionary,
// with the device's readings (boolValue, intValue, integerValue, floatValue, doubleValue).
#pragma once

#include "foundation/NSDate.h"
#include "objc/runtime.h"

#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class PlistValue;
using PlistArray = std::vector<PlistValue>;
using PlistDict = std::map<std::string, PlistValue>;
using PlistData = std::vector<std::uint8_t>;

class PlistValue {
  public:
    enum class Type { None, Bool, Integer, Real, String, Date, Data, Array, Dict };

    PlistValue() = default;
    PlistValue(bool b) : v_(b) {} // NOLINT(google-explicit-constructor)
    template <std::integral I>
    requires(!std::same_as<I, bool> && !std::same_as<I, char>) PlistValue(I i)
        : v_(static_cast<std::int64_t>(i)) {}                  // NOLINT(google-explicit-constructor)
    PlistValue(double d) : v_(d) {}                            // NOLINT(google-explicit-constructor)
    PlistValue(float f) : v_(static_cast<double>(f)) {}        // NOLINT(google-explicit-constructor)
    PlistValue(const char* s) : v_(std::string(s ? s : "")) {} // NOLINT(google-explicit-constructor)
    PlistValue(std::string s) : v_(std::move(s)) {}            // NOLINT(google-explicit-constructor)
    PlistValue(std::string_view s) : v_(std::string(s)) {}     // NOLINT(google-explicit-constructor)
    PlistValue(NSDate d) : v_(d) {}                            // NOLINT(google-explicit-constructor)
    PlistValue(PlistData d) : v_(std::move(d)) {}              // NOLINT(google-explicit-constructor)
    PlistValue(PlistArray a) : v_(std::move(a)) {}             // NOLINT(google-explicit-constructor)
    PlistValue(PlistDict d) : v_(std::move(d)) {}              // NOLINT(google-explicit-constructor)

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNone() const { return type() == Type::None; }
    bool isBool() const { return type() == Type::Bool; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    // A number of any kind: boolean, integer or real (all are NSNumber on the device).
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isDate() const { return type() == Type::Date; }
    bool isData() const { return type() == Type::Data; }
    bool isArray() const { return type() == Type::Array; }
    bool isDict() const { return type() == Type::Dict; }

    // The stored value, or a default (false, 0, empty) when the value is of another type.
    bool asBool() const;
    std::int64_t asInteger() const;
    double asReal() const;
    const std::string& asString() const;
    NSDate asDate() const;
    const PlistData& asData() const;
    const PlistArray& asArray() const;
    const PlistDict& asDict() const;
    // Mutable access; turns the value into an empty array or dictionary first when it is not one.
    PlistArray& mutableArray();
    PlistDict& mutableDict();

    // Dictionary lookup: the value for `key`, or none (also when this is not a dictionary).
    const PlistValue& operator[](const std::string& key) const;

    // The device's readings of an NSNumber or NSString; other types read as zero.
    bool boolValue() const;
    int intValue() const;
    NSInteger integerValue() const;
    float floatValue() const;
    double doubleValue() const;

    // A one-line text of the value, for logs and test messages:
    // {a = 1; b = (x, "two words"); c = true; d = <00ff>; e = @800000000}.
    std::string description() const;

    bool operator==(const PlistValue& other) const = default;

  private:
    std::variant<std::monostate, bool, std::int64_t, double, std::string, NSDate, PlistData, PlistArray,
                 PlistDict>
        v_;
};

// GoogleTest prints values through this.
void PrintTo(const PlistValue& value, std::ostream* os);

// The value for `key` in `dict`, or none.
const PlistValue& valueForKey(const PlistDict& dict, const std::string& key);

namespace objc {
template <> struct TypeEncoding<PlistValue> { static constexpr const char* value = "@"; };
template <> struct TypeEncoding<PlistArray> { static constexpr const char* value = "@"; };
template <> struct TypeEncoding<PlistDict> { static constexpr const char* value = "@"; };
} // namespace objc
