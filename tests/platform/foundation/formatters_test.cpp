#include "DeviceRootFixture.h"
#include "foundation/NSDateFormatter.h"
#include "foundation/NSNumberFormatter.h"
#include "foundation/PropertyList.h"

#include "CaseText.h"

#include <gtest/gtest.h>

namespace {

// 2026-12-07 10:30:00 UTC
const NSDate kMorning = NSDate::dateWithTimeIntervalSince1970(1796639400);

struct DateCase {
    const char* locale;
    const char* zone;
    NSDateFormatterStyle dateStyle;
    NSDateFormatterStyle timeStyle;
    const char* expected;
};
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.locale << "_" << c.zone << "_" << c.dateStyle << c.timeStyle;
}

class LocalizedDates : public testing::TestWithParam<DateCase> {};

TEST_P(LocalizedDates, LookLikeTheDevice) {
    const DateCase& c = GetParam();
    EXPECT_EQ(localizedStringFromDate(kMorning, c.dateStyle, c.timeStyle, c.locale, c.zone), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalizedDates,
    testing::Values(DateCase{"en_US", "UTC", ShortStyle, MediumStyle, "12/7/26, 10:30:00 AM"},
                    DateCase{"en_US", "America/New_York", ShortStyle, MediumStyle, "12/7/26, 5:30:00 AM"},
                    DateCase{"de_DE", "Europe/Berlin", ShortStyle, MediumStyle, "07.12.26, 11:30:00"},
                    DateCase{"en_GB", "Europe/London", ShortStyle, MediumStyle, "07/12/2026, 10:30:00"},
                    DateCase{"en_US", "UTC", ShortStyle, NoStyle, "12/7/26"},
                    DateCase{"en_US", "UTC", NoStyle, ShortStyle, "10:30 AM"},
                    DateCase{"en_US", "UTC", NoStyle, NoStyle, ""},
                    DateCase{"en_US", "No/Such_Zone", ShortStyle, MediumStyle, "12/7/26, 10:30:00 AM"}));

TEST(LocalizedDates, UseTheDeviceLocaleAndTimeZone) {
    DeviceRootFixture root{kBareRoot};
    EXPECT_EQ(NSDateFormatterLocalizedStringFromDate(kMorning, ShortStyle, MediumStyle),
              "12/7/26, 10:30:00 AM");
    ASSERT_TRUE(writeToFile(PlistDict{{"AppleLocale", "de_DE"}, {"TimeZone", "Asia/Tokyo"}},
                            kGlobalPreferencesPath, true));
    EXPECT_EQ(DeviceEnvironment::locale(), "de_DE");
    EXPECT_EQ(DeviceEnvironment::timeZone(), "Asia/Tokyo");
    EXPECT_EQ(NSDateFormatterLocalizedStringFromDate(kMorning, ShortStyle, MediumStyle),
              "07.12.26, 19:30:00");
}

struct NumberCase {
    const char* locale;
    NSUInteger style;
    int maxFraction; // -1: not set
    PlistValue number;
    const char* expected;
};
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.locale << "_style" << c.style << "_max" << c.maxFraction << "_" << c.number.doubleValue()
        << caseText(c.number.asString());
}

class NumberFormatting : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormatting, FollowsStyleFractionDigitsAndLocale) {
    const NumberCase& c = GetParam();
    NSNumberFormatter formatter(c.locale);
    formatter.setNumberStyle(c.style);
    if (c.maxFraction >= 0)
        formatter.setMaximumFractionDigits(static_cast<NSUInteger>(c.maxFraction));
    EXPECT_EQ(formatter.stringFromNumber(c.number), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberFormatting,
    testing::Values(NumberCase{"en_US", 1, 0, 127.6f, "128"}, NumberCase{"en_US", 1, 0, 0.5, "0"},
                    NumberCase{"en_US", 1, 0, 1.5, "2"}, NumberCase{"en_US", 1, 0, 255, "255"},
                    NumberCase{"en_US", 1, 0, 12345, "12,345"}, NumberCase{"en_US", 1, -1, 3.14159, "3.142"},
                    NumberCase{"en_US", 1, 2, 3.14159, "3.14"}, NumberCase{"de_DE", 1, 2, 1234.5, "1.234,5"},
                    NumberCase{"fr_FR", 1, 0, 12345, "12 345"}, NumberCase{"en_US", 0, -1, 12345.6, "12346"},
                    NumberCase{"en_US", 1, 0, true, "1"}, NumberCase{"en_US", 1, 0, "12", ""},
                    NumberCase{"en_US", 1, 0, PlistValue(), ""}, NumberCase{"en_US", 3, -1, 0.25, "25%"}));

TEST(NumberFormatting, DefaultsToTheDeviceLocale) {
    DeviceRootFixture root{kBareRoot};
    ASSERT_TRUE(writeToFile(PlistDict{{"AppleLocale", "de_DE"}}, kGlobalPreferencesPath, true));
    NSNumberFormatter formatter;
    formatter.setNumberStyle(1);
    EXPECT_EQ(formatter.stringFromNumber(1234.5), "1.234,5");
    EXPECT_EQ(formatter.maximumFractionDigits(), 3u);
}

TEST(DeviceSettings, HaveDefaultsWithoutAFile) {
    DeviceRootFixture root{kBareRoot};
    EXPECT_EQ(DeviceEnvironment::locale(), "en_US");
    EXPECT_EQ(DeviceEnvironment::preferredLanguages(), std::vector<std::string>{"en"});
    EXPECT_EQ(DeviceEnvironment::timeZone(), "UTC");
    ASSERT_TRUE(writeToFile(PlistDict{{"AppleLanguages", PlistArray{"fr", 3, "de"}}, {"AppleLocale", 7}},
                            kGlobalPreferencesPath, true));
    EXPECT_EQ(DeviceEnvironment::preferredLanguages(), (std::vector<std::string>{"fr", "de"}));
    EXPECT_EQ(DeviceEnvironment::locale(), "en_US");
}

} // namespace
