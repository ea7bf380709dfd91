#include "foundation/NSScanner.h"

#include "CaseText.h"

#include <gtest/gtest.h>

namespace {

struct HexCase {
    const char* text;
    const char* skip;
    bool found;
    unsigned expected; // when found
};
void PrintTo(const HexCase& c, std::ostream* os) {
    *os << caseText(c.text) << " skip " << caseText(c.skip);
}

class ScanHexInt : public testing::TestWithParam<HexCase> {};

TEST_P(ScanHexInt, ReadsOneHexNumberAfterTheSkipSet) {
    const HexCase& c = GetParam();
    unsigned result = 0xDEADBEEF;
    EXPECT_EQ(NSScannerScanHexInt(c.text, c.skip, &result), c.found) << '"' << c.text << '"';
    EXPECT_EQ(result, c.found ? c.expected : 0xDEADBEEF) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanHexInt,
    testing::Values(HexCase{"#FF0000", "#", true, 0xFF0000}, HexCase{"FF0000", "#", true, 0xFF0000},
                    HexCase{"###abc", "#", true, 0xABC}, HexCase{"0x0000ff", "#", true, 0xFF},
                    HexCase{"#0XaBcDeF", "#", true, 0xABCDEF}, HexCase{"ffffff00", "#", true, 0xFFFFFF00},
                    HexCase{"123456789", "#", true, 0xFFFFFFFF}, HexCase{"FFFFFFFF", "#", true, 0xFFFFFFFF},
                    HexCase{"100000000", "#", true, 0xFFFFFFFF}, HexCase{"0000000000FF", "#", true, 0xFF},
                    HexCase{"12g4", "#", true, 0x12}, HexCase{"7F7F7F is grey", "#", true, 0x7F7F7F},
                    HexCase{"0x", "#", true, 0}, HexCase{"0xg", "#", true, 0}, HexCase{"#", "#", false, 0},
                    HexCase{"", "#", false, 0}, HexCase{"xyz", "#", false, 0},
                    HexCase{" FF0000", "#", false, 0}, HexCase{"\tFF", "#", false, 0},
                    HexCase{" FF0000", " #", true, 0xFF0000}, HexCase{"#FF", "", false, 0},
                    HexCase{"#-1", "#", false, 0}, HexCase{"#+1", "#", false, 0},
                    HexCase{"x12", "#", false, 0}));

TEST(ScanHexInt, AcceptsANullResult) {
    EXPECT_TRUE(NSScannerScanHexInt("12", "", nullptr));
}

} // namespace
