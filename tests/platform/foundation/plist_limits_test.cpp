// Hostile property-list bytes: each reads as no property list, at once, without a crash; the
// same shapes just inside the limits read whole.
#include "PlistBytes.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <functional>

using namespace plistbytes;

namespace {

std::string xmlArrayOfIntegers(int count) {
    std::string body = "<array>";
    for (int i = 0; i < count; ++i)
        body += "<integer>" + std::to_string(i) + "</integer>";
    return xmlPlist(body + "</array>");
}

std::string binaryArrayOfOne(int references) {
    BinaryPlist b;
    uint64_t leaf = b.add(binaryInteger(7));
    return b.bytes(b.add(binaryArray(std::vector<uint64_t>(static_cast<size_t>(references), leaf))));
}

std::string withNul(std::string s) {
    for (char& c : s)
        if (c == '@')
            c = '\0';
    return s;
}

// A dictionary `{k: 1}` padded with blanks to exactly `size` bytes.
std::string paddedTo(size_t size) {
    std::string xml = xmlPlist("<dict><key>k</key><integer>1</integer></dict>");
    xml.insert(xml.find("<plist"), size - xml.size(), ' ');
    return xml;
}

struct Hostile {
    const char* name;
    std::function<std::string()> bytes;
};

const Hostile kRefused[] = {
    {"ReferenceBomb20Levels", [] { return binaryReferenceBomb(20); }},
    {"ReferenceBomb32Levels", [] { return binaryReferenceBomb(32); }},
    {"ReferenceBomb15Levels", [] { return binaryReferenceBomb(15); }}, // 65,535 nodes
    {"BinaryNested50000", [] { return binaryNestedArrays(50000); }},
    {"BinaryNestedOnePastTheLimit", [] { return binaryNestedArrays(32); }},
    {"XmlNested60000", [] { return xmlNestedArrays(60000); }},
    {"XmlNested60000Unclosed", [] { return xmlNestedArrays(60000, false); }},
    {"XmlNestedOnePastTheLimit", [] { return xmlNestedArrays(32); }},
    {"XmlDeepBehindFakeClosesInComments",
     [] {
         std::string deep = xmlNestedArrays(32);
         std::string fake = "<!--";
         for (int i = 0; i < 40; ++i)
             fake += "</array>";
         return deep.insert(deep.find("<array>") + 7 * 20, fake + "-->");
     }},
    {"XmlDeepBehindFakeClosesInCData",
     [] {
         std::string deep = xmlNestedArrays(32);
         return deep.insert(deep.find("<array>") + 7 * 20,
                            "<string><![CDATA[</array></array></array>]]></string>");
     }},
    {"XmlDeepBehindClosesOfOtherNames",
     [] {
         std::string deep = xmlNestedArrays(32);
         return deep.insert(deep.find("<array>") + 7 * 20, "</dict></dict></dict></plist></plist>");
     }},
    {"XmlDeepBehindClosesInAttributes",
     [] {
         std::string body;
         for (int i = 0; i < 40; ++i)
             body += "<array a=\"</array></array>\">";
         body += "<true/>";
         for (int i = 0; i < 40; ++i)
             body += "</array>";
         return xmlPlist(body);
     }},
    {"XmlDeepBehindASingleQuote",
     [] {
         std::string deep = xmlNestedArrays(40);
         return deep.insert(deep.find("<array>") + 7, "<array b='>");
     }},
    {"XmlNulInAString", [] { return withNul(xmlPlist("<dict><key>k</key><string>a@b</string></dict>")); }},
    {"XmlNulInAKey", [] { return withNul(xmlPlist("<dict><key>k@k</key><true/></dict>")); }},
    {"XmlNulOutsideElements", [] { return withNul(xmlPlist("<dict/>@")); }},
    {"BinaryUtf16KeyWithNul",
     [] {
         BinaryPlist b;
         uint64_t key = b.add(binaryUtf16(std::u16string_view(u"a\0b", 3))), value = b.add(binaryTrue());
         return b.bytes(b.add(binaryDict({key}, {value})));
     }},
    {"BinaryUtf16StringWithNul",
     [] {
         BinaryPlist b;
         return b.bytes(b.add(binaryArray({b.add(binaryUtf16(std::u16string_view(u"x\0", 2)))})));
     }},
    {"BinaryArrayHoldingItself",
     [] {
         BinaryPlist b;
         b.add(binaryArray({1}));
         b.add(binaryArray({0}));
         return b.bytes(0);
     }},
    {"BinaryReferenceOutsideTheObjects",
     [] {
         BinaryPlist b;
         return b.bytes(b.add(binaryArray({99})));
     }},
    {"BinaryTopOutsideTheObjects",
     [] {
         BinaryPlist b;
         b.add(binaryTrue());
         return b.bytes(5);
     }},
    {"BinaryOffsetTablePastTheEnd",
     [] {
         BinaryPlist b;
         std::string bytes = b.bytes(b.add(binaryTrue()));
         bytes.replace(bytes.size() - 8, 8, bigEndian(1u << 30, 8));
         return bytes;
     }},
    {"BinaryCountPastTheObjects",
     [] {
         BinaryPlist b;
         return b.bytes(b.add(counted(0xA, 1000000) + bigEndian(0, kRefSize)));
     }},
    {"BinaryObjectInsideADate",
     [] {
         // Dates are rewritten in place before libplist reads the bytes, each to its index. Here
         // an object lies inside the 2,177th date: a "true" as the bytes stand, but once the date
         // holds its index (2176.0, bytes 40 A1 00 00 00 00 ...) an array holding object 0, the
         // top of a reference bomb that nothing else reaches.
         BinaryPlist b;
         for (uint64_t i = 0; i < 30; ++i)
             b.add(binaryArray({i + 1, i + 1}));
         b.add(binaryInteger(1));
         std::vector<uint64_t> items;
         for (int i = 0; i < 2177; ++i)
             items.push_back(b.add(i < 2176 ? binaryDate(i) : "\x33" + bigEndian(0x4009000000000000, 8)));
         const uint64_t inside = b.add(binaryTrue()), lastDate = items.back();
         items.push_back(inside);
         std::string bytes = b.bytes(b.add(binaryArray(items)));
         const size_t table = bytes.size() - 32 - 8 * b.objects.size();
         uint64_t dateAt = 0;
         for (int k = 0; k < 8; ++k)
             dateAt = dateAt << 8 | static_cast<unsigned char>(bytes[table + 8 * lastDate + k]);
         bytes.replace(table + 8 * inside, 8, bigEndian(dateAt + 2, 8));
         return bytes;
     }},
    {"XmlNodesOnePastTheBudget", [] { return xmlArrayOfIntegers(20000); }},
    {"BinaryReferencesOnePastTheBudget", [] { return binaryArrayOfOne(20000); }},
    {"OneByteOverTheSizeCap", [] { return paddedTo((1 << 20) + 1); }},
    {"Empty", [] { return std::string(); }},
    {"HeaderOnly", [] { return std::string("bplist00"); }},
};

void PrintTo(const Hostile& hostile, std::ostream* os) {
    *os << hostile.name;
}

class RefusedBytes : public testing::TestWithParam<Hostile> {};

TEST_P(RefusedBytes, ReadAsNoPropertyList) {
    EXPECT_EQ(propertyListFromBytes(GetParam().bytes()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Hostile, RefusedBytes, testing::ValuesIn(kRefused),
                         [](const testing::TestParamInfo<Hostile>& info) {
                             return std::string(info.param.name);
                         });

TEST(PlistLimits, ShapesJustInsideTheLimitsReadWhole) {
    auto nested = propertyListFromBytes(xmlNestedArrays(31));
    ASSERT_TRUE(nested) << "31 arrays around an integer: 32 levels";
    const PlistValue* v = &*nested;
    for (int i = 0; i < 31; ++i)
        v = &v->asArray().at(0);
    EXPECT_EQ(*v, PlistValue(1));
    EXPECT_TRUE(propertyListFromBytes(binaryNestedArrays(31)));
    EXPECT_EQ(propertyListFromBytes(xmlArrayOfIntegers(19999))->asArray().size(), 19999u);
    EXPECT_EQ(propertyListFromBytes(binaryArrayOfOne(19999))->asArray().size(), 19999u);
    EXPECT_TRUE(propertyListFromBytes(binaryReferenceBomb(13))) << "16,383 nodes once expanded";
    EXPECT_EQ(propertyListFromBytes(paddedTo(1 << 20)), PlistValue(PlistDict{{"k", 1}}));
}

TEST(PlistLimits, MarkupThatOnlyLooksDeepReadsWhole) {
    std::string comments;
    for (int i = 0; i < 100; ++i)
        comments += "<!-- <array><dict> -->";
    EXPECT_EQ(propertyListFromBytes(xmlPlist(comments + "<array a=\"</array>\"><true/></array>")),
              PlistValue(PlistArray{true}));
    EXPECT_EQ(
        propertyListFromBytes(xmlPlist("<array><string><![CDATA[<array><array><array>]]></string></array>")),
        PlistValue(PlistArray{"<array><array><array>"}));
}

TEST(PlistLimits, StringsAreTakenWithTheirLength) {
    // libplist's binary reader keeps an ASCII string up to its first NUL.
    BinaryPlist b;
    auto value =
        propertyListFromBytes(b.bytes(b.add(binaryArray({b.add(binaryString(std::string("ab\0cd", 5)))}))));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->asArray().at(0).asString(), "ab");
    EXPECT_EQ(propertyListFromBytes(xmlPlist("<array><string>a&amp;b&lt;&#x41;</string></array>")),
              PlistValue(PlistArray{"a&b<A"}));
}

} // namespace
