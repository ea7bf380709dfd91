#include "foundation/PlistValue.h"

#include "CaseText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PlistValue, ConstructorsKeepTheKindApart) {
    EXPECT_TRUE(PlistValue(true).isBool());
    EXPECT_TRUE(PlistValue(1).isInteger());
    EXPECT_TRUE(PlistValue(NSInteger{1}).isInteger());
    EXPECT_TRUE(PlistValue(1u).isInteger());
    EXPECT_TRUE(PlistValue(1.5).isReal());
    EXPECT_TRUE(PlistValue(1.5f).isReal());
    EXPECT_TRUE(PlistValue("text").isString());
    EXPECT_TRUE(PlistValue(std::string("text")).isString());
    EXPECT_TRUE(PlistValue(NSDate{5}).isDate());
    EXPECT_TRUE(PlistValue(PlistData{1, 2}).isData());
    EXPECT_TRUE(PlistValue(PlistArray{1, "a"}).isArray());
    EXPECT_TRUE(PlistValue(PlistDict{{"a", 1}}).isDict());
    EXPECT_TRUE(PlistValue().isNone());
    EXPECT_NE(PlistValue(true), PlistValue(1));
    EXPECT_NE(PlistValue(1), PlistValue(1.0));
    EXPECT_TRUE(PlistValue(true).isNumber() && PlistValue(2).isNumber() && PlistValue(2.5).isNumber());
    EXPECT_FALSE(PlistValue("2").isNumber());
}

TEST(PlistValue, AccessorsGiveDefaultsForOtherKinds) {
    PlistValue number = 3;
    EXPECT_EQ(number.asString(), "");
    EXPECT_TRUE(number.asDict().empty());
    EXPECT_TRUE(number.asArray().empty());
    EXPECT_EQ(number.asDate(), NSDate{});
    EXPECT_TRUE(number["key"].isNone());
    PlistValue dict = PlistDict{{"key", "value"}};
    EXPECT_EQ(dict["key"].asString(), "value");
    EXPECT_TRUE(dict["other"].isNone());
    dict.mutableDict()["n"] = 4;
    EXPECT_EQ(dict["n"], PlistValue(4));
}

TEST(PlistValue, DescriptionsShowKindsAndNesting) {
    PlistValue v = PlistDict{{"a", 1},         {"b", PlistArray{"x", "two words", 2.5}},
                             {"c", true},      {"d", PlistData{0, 255}},
                             {"e", NSDate{8}}, {"f say", "q\"uote"}};
    EXPECT_EQ(v.description(),
              R"({a = 1; b = (x, "two words", 2.5); c = true; d = <00ff>; e = @8; "f say" = "q\"uote"})");
    EXPECT_EQ(PlistValue().description(), "(none)");
    EXPECT_EQ(PlistValue("").description(), R"("")");
    EXPECT_EQ(PlistValue(PlistDict{}).description(), "{}");
}

struct ReadingCase {
    PlistValue value;
    bool b;
    int i;
    long long integer;
    float f;
    double d;
};
void PrintTo(const ReadingCase& c, std::ostream* os) {
    *os << caseText(c.value.description());
}

class NumberReadings : public testing::TestWithParam<ReadingCase> {};

TEST_P(NumberReadings, FollowTheDevice) {
    const ReadingCase& c = GetParam();
    EXPECT_EQ(c.value.boolValue(), c.b);
    EXPECT_EQ(c.value.intValue(), c.i);
    EXPECT_EQ(c.value.integerValue(), c.integer);
    EXPECT_EQ(c.value.floatValue(), c.f);
    EXPECT_EQ(c.value.doubleValue(), c.d);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberReadings,
    testing::Values(ReadingCase{true, true, 1, 1, 1, 1}, ReadingCase{false, false, 0, 0, 0, 0},
                    ReadingCase{42, true, 42, 42, 42, 42}, ReadingCase{0, false, 0, 0, 0, 0},
                    ReadingCase{-7, true, -7, -7, -7, -7}, ReadingCase{12.7, true, 12, 12, 12.7f, 12.7},
                    ReadingCase{-0.5, true, 0, 0, -0.5f, -0.5}, ReadingCase{0.0, false, 0, 0, 0, 0},
                    ReadingCase{1e10, true, INT_MAX, 10000000000LL, 1e10f, 1e10},
                    // a 64-bit integer keeps its low 32 bits as int
                    ReadingCase{0x100000005LL, true, 5, 0x100000005LL, 4294967301.0f, 4294967301.0},
                    ReadingCase{"abc", false, 0, 0, 0, 0}, ReadingCase{" +0012", true, 12, 12, 12, 12},
                    ReadingCase{"Yes", true, 0, 0, 0, 0}, ReadingCase{" -3e2x", true, -3, -3, -300, -300},
                    ReadingCase{PlistValue(), false, 0, 0, 0, 0}, ReadingCase{NSDate{100}, false, 0, 0, 0, 0},
                    ReadingCase{PlistArray{1}, false, 0, 0, 0, 0}));

} // namespace
