#include "PlistBytes.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Seconds since 2001 of a moment given in Unix time, computed apart from the code under test.
constexpr double fromUnix(double unixSeconds) {
    return unixSeconds - 978307200.0;
}

struct Instant {
    const char* name;
    double seconds;
    const char* xmlText; // in whole seconds, the fraction dropped
};

const Instant kInstants[] = {
    {"Reference", 0, "2001-01-01T00:00:00Z"},
    {"DemoMorning", 818323200, "2026-12-07T08:00:00Z"},
    {"Microseconds", 818323200.123456, "2026-12-07T08:00:00Z"},
    {"AlertDisarmAtAQuarterPast", 818323201.25, "2026-12-07T08:00:01Z"},
    {"AlmostTheNextSecond", 818323201.999999, "2026-12-07T08:00:01Z"},
    {"HalfSecondBefore2001", -0.5, "2000-12-31T23:59:59Z"},
    {"OneMicrosecondBefore2001", -0.000001, "2000-12-31T23:59:59Z"},
    {"OneAndAHalfSecondsBefore2001", -1.5, "2000-12-31T23:59:58Z"},
    {"Start1901", fromUnix(-2177452800), "1901-01-01T00:00:00Z"},
    {"Start1901Plus1us", fromUnix(-2177452800) + 0.000001, "1901-01-01T00:00:00Z"},
    {"Last32BitSecond", 2147483647, "2069-01-19T03:14:07Z"},
    {"First64BitSecond", 2147483648, "2069-01-19T03:14:08Z"},
    {"Past32BitWithFraction", 2147483648.25, "2069-01-19T03:14:08Z"},
    {"Disarm15390DaysAhead", 818323200 + 15390 * 86400.0, "2069-01-25T08:00:00Z"},
    {"Year3000", fromUnix(32503680000), "3000-01-01T00:00:00Z"},
    {"End2200", fromUnix(7289654399) + 0.999999, "2200-12-31T23:59:59Z"},
    {"LeapDay2000", fromUnix(951782400), "2000-02-29T00:00:00Z"},
    {"LeapDay2096", fromUnix(3981312000), "2096-02-29T00:00:00Z"},
    {"Year9999", fromUnix(253402300799), "9999-12-31T23:59:59Z"},
    {"Year10000", fromUnix(253402300800), "+10000-01-01T00:00:00Z"},
    {"Year1", fromUnix(-62135596800), "0001-01-01T00:00:00Z"},
    {"Year0", fromUnix(-62167219200), "0000-01-01T00:00:00Z"},
    {"Year1BC", fromUnix(-62198755200), "-0001-01-01T00:00:00Z"},
};

void PrintTo(const Instant& instant, std::ostream* os) {
    *os << instant.name;
}

class DateRoundTrip : public testing::TestWithParam<Instant> {};

// Whole seconds: the second that holds `t` (computed apart from the writer, by flooring).
double wholeSecond(double t) {
    return std::floor(t);
}

TEST_P(DateRoundTrip, ThroughXMLToTheSecondAndThroughBinaryExactly) {
    const Instant& instant = GetParam();
    const PlistDict dict{{"d", NSDate{instant.seconds}}, {"list", PlistArray{NSDate{instant.seconds}, 1}}};
    const std::string xml = propertyListToXML(dict);
    EXPECT_NE(xml.find(std::string("<date>") + instant.xmlText + "</date>"), std::string::npos) << xml;
    auto fromXML = propertyListFromBytes(xml);
    ASSERT_TRUE(fromXML) << xml;
    const NSDate second{wholeSecond(instant.seconds)};
    EXPECT_EQ(fromXML->asDict(), (PlistDict{{"d", second}, {"list", PlistArray{second, 1}}}))
        << std::fixed << fromXML->asDict().at("d").asDate().timeIntervalSinceReferenceDate;

    const std::string bin = propertyListToBinary(dict);
    auto fromBinary = propertyListFromBytes(bin);
    ASSERT_TRUE(fromBinary);
    EXPECT_EQ(fromBinary->asDict(), dict);
}

INSTANTIATE_TEST_SUITE_P(Instants, DateRoundTrip, testing::ValuesIn(kInstants),
                         [](const testing::TestParamInfo<Instant>& info) {
                             return std::string(info.param.name);
                         });

TEST(PlistDates, EveryMomentOfASecondIsWrittenAsThatSecondAtTheFarEdges) {
    for (double base : {fromUnix(-2177452800), -86400.0, 0.0, 2147483647.0, fromUnix(7289654399)}) {
        for (int micro = 0; micro < 1000000; micro += 997) {
            const double t = base + micro / 1e6;
            const std::string xml = propertyListToXML(PlistArray{NSDate{t}});
            const size_t open = xml.find("<date>"), close = xml.find("</date>");
            ASSERT_NE(close, std::string::npos) << xml;
            ASSERT_EQ(xml.substr(open, close - open).find('.'), std::string::npos) << "no fraction: " << xml;
            auto back = propertyListFromBytes(xml);
            ASSERT_TRUE(back);
            ASSERT_EQ(back->asArray().at(0).asDate().timeIntervalSinceReferenceDate, base)
                << std::fixed << base << " + " << micro << " us";
        }
    }
}

TEST(PlistDates, BinaryCarriesAnyDouble) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double t :
         {1e300, -1e300, std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(), inf,
          -inf, 1e17 + 0.5, -123456789.987654321}) {
        auto back = propertyListFromBytes(propertyListToBinary(PlistArray{NSDate{t}}));
        ASSERT_TRUE(back) << t;
        EXPECT_EQ(back->asArray().at(0).asDate().timeIntervalSinceReferenceDate, t);
    }
    auto nan = propertyListFromBytes(propertyListToBinary(PlistArray{NSDate{std::nan("")}}));
    ASSERT_TRUE(nan);
    EXPECT_TRUE(std::isnan(nan->asArray().at(0).asDate().timeIntervalSinceReferenceDate));
}

TEST(PlistDates, XMLClampsWhatItsTextCannotCarry) {
    auto huge = propertyListFromBytes(
        propertyListToXML(PlistArray{NSDate{1e300}, NSDate{-1e300}, NSDate{std::nan("")}}));
    ASSERT_TRUE(huge);
    const PlistArray& dates = huge->asArray();
    EXPECT_GT(dates.at(0).asDate().timeIntervalSinceReferenceDate, 3e18)
        << "the latest date the text can name";
    EXPECT_LT(dates.at(1).asDate().timeIntervalSinceReferenceDate, -3e18);
    EXPECT_EQ(dates.at(2).asDate().timeIntervalSinceReferenceDate, 0);
}

TEST(PlistDates, ManyDatesKeepTheirPlaces) {
    // Whole seconds on both sides of 2001 and of the 32-bit range, each one apart.
    PlistArray dates;
    for (int i = 0; i < 300; ++i)
        dates.emplace_back(NSDate{static_cast<double>(2147483648LL * (i % 7 - 3) + i)});
    const PlistDict dict{{"a", dates}, {"b", PlistDict{{"x", NSDate{5.0}}, {"y", dates}}}};
    EXPECT_EQ(propertyListFromBytes(propertyListToXML(dict)), PlistValue(dict));
    EXPECT_EQ(propertyListFromBytes(propertyListToBinary(dict)), PlistValue(dict));
}

TEST(PlistDates, ABinaryDateSharedByTwoReferencesReadsTwice) {
    using namespace plistbytes;
    BinaryPlist b;
    uint64_t date = b.add(binaryDate(fromUnix(32503680000.5)));
    uint64_t other = b.add(binaryDate(-7.25));
    uint64_t list = b.add(binaryArray({date, other, date}));
    auto value = propertyListFromBytes(b.bytes(list));
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, PlistValue(PlistArray{NSDate{fromUnix(32503680000.5)}, NSDate{-7.25},
                                            NSDate{fromUnix(32503680000.5)}}));
}

struct DateText {
    const char* text;
    double seconds; // NAN: the file is unreadable
};

void PrintTo(const DateText& text, std::ostream* os) {
    *os << '"' << text.text << '"';
}

class DateTexts : public testing::TestWithParam<DateText> {};

TEST_P(DateTexts, ReadAsTheDeviceWritesThemOrNotAtAll) {
    const DateText& c = GetParam();
    auto value = propertyListFromBytes(
        plistbytes::xmlPlist(std::string("<array><date>") + c.text + "</date></array>"));
    if (std::isnan(c.seconds)) {
        EXPECT_EQ(value, std::nullopt) << "a date that is not one makes the file unreadable";
    } else {
        ASSERT_TRUE(value);
        EXPECT_EQ(value->asArray().at(0).asDate().timeIntervalSinceReferenceDate, c.seconds);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DateTexts,
    testing::Values(DateText{"2026-12-07T08:00:00Z", 818323200}, DateText{"2026-12-07T08:00:00", 818323200},
                    DateText{"\n\t 2026-12-07T08:00:00Z \n", 818323200},
                    DateText{"2026-12-07T08:00:00.5Z", 818323200.5},
                    DateText{"2026-12-07T08:00:00.1234567Z", 818323200 + 0.1234567},
                    DateText{"2026-12-07T08:00:00.1234567891111Z", 818323200 + 0.123456789},
                    DateText{"+10000-01-01T00:00:00Z", fromUnix(253402300800)},
                    DateText{"2024-02-29T00:00:00Z", fromUnix(1709164800)},
                    DateText{"2026-02-29T00:00:00Z", NAN}, DateText{"2026-13-01T00:00:00Z", NAN},
                    DateText{"2026-12-07T24:00:00Z", NAN}, DateText{"2026-12-07T08:60:00Z", NAN},
                    DateText{"2026-12-07", NAN}, DateText{"garbage", NAN}, DateText{"", NAN},
                    DateText{"2026-12-07T08:00:00+01:00", NAN}, DateText{"2026-12-07T08:00:00.Z", NAN},
                    DateText{"123456789012-01-01T00:00:00Z", NAN}));

TEST(PlistDates, AnEmptyOrNestedDateElementMakesTheFileUnreadable) {
    for (const char* body :
         {"<array><date/></array>", "<array><date><!-- x -->2026-12-07T08:00:00Z</date></array>",
          "<array><date><![CDATA[2026-12-07T08:00:00Z]]></date></array>"})
        EXPECT_EQ(propertyListFromBytes(plistbytes::xmlPlist(body)), std::nullopt) << body;
}

TEST(PlistDates, ATextThatLooksLikeADateIsNotOne) {
    // "<date>" inside a string is escaped by every writer, so it never shifts the dates.
    const PlistDict dict{{"s", "<date>2001-01-01T00:00:03Z</date>"}, {"d", NSDate{2147483648.0}}};
    EXPECT_EQ(propertyListFromBytes(propertyListToXML(dict)), PlistValue(dict));
    EXPECT_EQ(propertyListFromBytes(plistbytes::xmlPlist(
                  "<dict><key>s</key><string><![CDATA[<date>2001-01-01T00:00:03Z</date>]]></string>"
                  "<key>d</key><date>3000-01-01T00:00:00Z</date></dict>")),
              PlistValue(PlistDict{{"s", "<date>2001-01-01T00:00:03Z</date>"},
                                   {"d", NSDate{fromUnix(32503680000)}}}));
}

} // namespace
