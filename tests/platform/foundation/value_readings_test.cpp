#include "foundation/ValueReadings.h"

#include "CaseText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

struct BoolCase {
    const char* text;
    bool expected;
};
void PrintTo(const BoolCase& c, std::ostream* os) {
    *os << caseText(c.text);
}

class StringBoolValue : public testing::TestWithParam<BoolCase> {};

TEST_P(StringBoolValue, FollowsTheFirstCharacterRule) {
    EXPECT_EQ(NSStringBoolValue(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, StringBoolValue,
                         testing::Values(BoolCase{"Yes", true}, BoolCase{"yes", true}, BoolCase{"YES", true},
                                         BoolCase{"t", true}, BoolCase{"True", true}, BoolCase{"1", true},
                                         BoolCase{"9", true}, BoolCase{"  y", true}, BoolCase{"\t\n T", true},
                                         BoolCase{"+1", true}, BoolCase{"-1", true}, BoolCase{"0001", true},
                                         BoolCase{"-0007", true}, BoolCase{"+y", true},
                                         BoolCase{"\xC2\xA0yes", true}, // no-break space is white space
                                         BoolCase{"0x1", false}, BoolCase{"0", false}, BoolCase{"000", false},
                                         BoolCase{"", false}, BoolCase{"   ", false}, BoolCase{"no", false},
                                         BoolCase{"false", false}, BoolCase{"abc", false},
                                         BoolCase{"+-1", false}, BoolCase{"x1", false}, BoolCase{".5", false},
                                         BoolCase{"0.5", false}));

struct IntCase {
    const char* text;
    long long expectedInt;
    long long expectedInteger;
};
void PrintTo(const IntCase& c, std::ostream* os) {
    *os << caseText(c.text);
}

class StringIntegerReadings : public testing::TestWithParam<IntCase> {};

TEST_P(StringIntegerReadings, ReadTheLeadingDecimalIntegerAndClamp) {
    const IntCase& c = GetParam();
    EXPECT_EQ(NSStringIntValue(c.text), c.expectedInt) << '"' << c.text << '"';
    EXPECT_EQ(NSStringIntegerValue(c.text), c.expectedInteger) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, StringIntegerReadings,
                         testing::Values(IntCase{"abc", 0, 0}, IntCase{"", 0, 0}, IntCase{" +0012", 12, 12},
                                         IntCase{"-45x", -45, -45}, IntCase{"12.9", 12, 12},
                                         IntCase{"  \n 7 8", 7, 7}, IntCase{"+", 0, 0}, IntCase{"-", 0, 0},
                                         IntCase{"--3", 0, 0}, IntCase{"0x1F", 0, 0}, IntCase{"1e3", 1, 1},
                                         IntCase{"٣", 0, 0}, IntCase{"2147483647", INT_MAX, 2147483647LL},
                                         IntCase{"2147483648", INT_MAX, 2147483648LL},
                                         IntCase{"-2147483648", INT_MIN, -2147483648LL},
                                         IntCase{"-2147483649", INT_MIN, -2147483649LL},
                                         IntCase{"99999999999999999999", INT_MAX, LLONG_MAX},
                                         IntCase{"-99999999999999999999", INT_MIN, LLONG_MIN},
                                         IntCase{"9223372036854775807", INT_MAX, LLONG_MAX},
                                         IntCase{"-9223372036854775808", INT_MIN, LLONG_MIN},
                                         IntCase{"00000000000000000000000042", 42, 42}));

struct RealCase {
    const char* text;
    double expected;
};
void PrintTo(const RealCase& c, std::ostream* os) {
    *os << caseText(c.text);
}

class StringRealReadings : public testing::TestWithParam<RealCase> {};

TEST_P(StringRealReadings, ReadSignDigitsFractionAndExponentOnly) {
    const RealCase& c = GetParam();
    EXPECT_EQ(NSStringDoubleValue(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(NSStringFloatValue(c.text), static_cast<float>(c.expected)) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, StringRealReadings,
                         testing::Values(RealCase{"12.7", 12.7}, RealCase{" -3e2x", -300}, RealCase{"inf", 0},
                                         RealCase{"-infinity", 0}, RealCase{"nan", 0}, RealCase{"", 0},
                                         RealCase{"abc", 0}, RealCase{"0x1p3", 0}, RealCase{".5", 0.5},
                                         RealCase{"5.", 5}, RealCase{".", 0}, RealCase{"+.25e1", 2.5},
                                         RealCase{"1e", 1}, RealCase{"1e+", 1}, RealCase{"2E-1", 0.2},
                                         RealCase{"  007.50", 7.5}, RealCase{"1,5", 1}, RealCase{"3 4", 3},
                                         RealCase{"-0", -0.0}, RealCase{"1e400", HUGE_VAL},
                                         RealCase{"-1e400", -HUGE_VAL}, RealCase{"1e-400", 0}));

TEST(StringRealReadings, FloatRoundsTheDecimalValueToSinglePrecision) {
    EXPECT_EQ(NSStringFloatValue("0.1"), 0.1f);
    EXPECT_EQ(NSStringFloatValue("16777217"), 16777216.0f);
    EXPECT_TRUE(std::isinf(NSStringFloatValue("1e39"))); // beyond float, within double
}

struct RealToIntCase {
    double value;
    int expectedInt;
    long long expectedInteger;
};
void PrintTo(const RealToIntCase& c, std::ostream* os) {
    *os << c.value;
}

class RealToInteger : public testing::TestWithParam<RealToIntCase> {};

TEST_P(RealToInteger, TruncatesAndSaturates) {
    const RealToIntCase& c = GetParam();
    EXPECT_EQ(NSNumberIntValueOfReal(c.value), c.expectedInt) << c.value;
    EXPECT_EQ(NSNumberIntegerValueOfReal(c.value), c.expectedInteger) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RealToInteger,
    testing::Values(RealToIntCase{12.7, 12, 12}, RealToIntCase{-12.7, -12, -12}, RealToIntCase{0.999, 0, 0},
                    RealToIntCase{3e9, INT_MAX, 3000000000LL}, RealToIntCase{-3e9, INT_MIN, -3000000000LL},
                    RealToIntCase{1e30, INT_MAX, LLONG_MAX}, RealToIntCase{-1e30, INT_MIN, LLONG_MIN},
                    RealToIntCase{HUGE_VAL, INT_MAX, LLONG_MAX}, RealToIntCase{NAN, 0, 0}));

} // namespace
