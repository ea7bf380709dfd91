#include "coregraphics/FloatToInteger.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTwo31 = 2147483648.0;
constexpr double kTwo63 = 9223372036854775808.0;

struct Conversion {
    double value;
    bool fitsInt;
    int asInt;
    bool fitsByte;
    uint8_t asByte;
    long long asLongLong;
};

class FloatToInteger : public ::testing::TestWithParam<Conversion> {};

TEST_P(FloatToInteger, ChecksBeforeConvertingAndSaturates) {
    const Conversion& c = GetParam();
    EXPECT_EQ(fitsInteger<int>(c.value), c.fitsInt);
    EXPECT_EQ(clampToInteger<int>(c.value), c.asInt);
    EXPECT_EQ(fitsInteger<uint8_t>(c.value), c.fitsByte);
    EXPECT_EQ(clampToInteger<uint8_t>(c.value), c.asByte);
    EXPECT_EQ(clampToInteger<long long>(c.value), c.asLongLong);
}

constexpr int kIntMax = std::numeric_limits<int>::max(), kIntMin = std::numeric_limits<int>::min();
constexpr long long kLLMax = std::numeric_limits<long long>::max(),
                    kLLMin = std::numeric_limits<long long>::min();

INSTANTIATE_TEST_SUITE_P(Values, FloatToInteger,
                         ::testing::Values(Conversion{0, true, 0, true, 0, 0},
                                           Conversion{12.9, true, 12, true, 12, 12},
                                           Conversion{-0.99, true, 0, true, 0, 0}, // truncates toward zero
                                           Conversion{-1, true, -1, false, 0, -1},
                                           Conversion{255.9, true, 255, true, 255, 255},
                                           Conversion{256, true, 256, false, 255, 256},
                                           Conversion{kTwo31 - 1, true, kIntMax, false, 255, 2147483647LL},
                                           Conversion{kTwo31 - 0.5, true, kIntMax, false, 255, 2147483647LL},
                                           Conversion{kTwo31, false, kIntMax, false, 255, 2147483648LL},
                                           Conversion{-kTwo31, true, kIntMin, false, 0, -2147483648LL},
                                           Conversion{-kTwo31 - 0.5, true, kIntMin, false, 0, -2147483648LL},
                                           Conversion{-kTwo31 - 1, false, kIntMin, false, 0, -2147483649LL},
                                           Conversion{kTwo63, false, kIntMax, false, 255, kLLMax},
                                           Conversion{-kTwo63, false, kIntMin, false, 0, kLLMin},
                                           Conversion{1e308, false, kIntMax, false, 255, kLLMax},
                                           Conversion{-1e308, false, kIntMin, false, 0, kLLMin},
                                           Conversion{kInf, false, kIntMax, false, 255, kLLMax},
                                           Conversion{-kInf, false, kIntMin, false, 0, kLLMin},
                                           Conversion{kNaN, false, 0, false, 0, 0}));

TEST(FloatToInteger, TheLargestDoubleBelowTwoTo63FitsSixtyFourBits) {
    const double below = std::nextafter(kTwo63, 0.0);
    EXPECT_TRUE(fitsInteger<long long>(below));
    EXPECT_EQ(clampToInteger<long long>(below), static_cast<long long>(below));
    EXPECT_TRUE(fitsInteger<size_t>(kTwo63));
    EXPECT_FALSE(fitsInteger<size_t>(kTwo63 * 2));
    EXPECT_FALSE(fitsInteger<size_t>(-1));
}

} // namespace
