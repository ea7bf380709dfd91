// The pure rules of the Settings side: cell type names, sections from group rows, and how a
// row's value is titled and found among its valid values.
#include "preferences/PSCellClasses.h"
#include "preferences/PSCellTypes.h"
#include "preferences/PSSectionLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(CellTypes, NamesAndValuesRoundTripAndUnknownNamesAreRefused) {
    for (NSInteger type = 0; type <= 14; ++type)
        EXPECT_EQ(PSCellTypeFromString(PSCellTypeName(type)), type);
    EXPECT_EQ(PSCellTypeFromString("PSSwitchCell"), 6);
    EXPECT_EQ(PSCellTypeFromString("PSEditTextViewCell"), 14);
    EXPECT_EQ(PSCellTypeFromString("PSColorCell"), -1);
    EXPECT_EQ(PSCellTypeFromString(""), -1);
    EXPECT_EQ(PSCellTypeName(15), "");
    EXPECT_EQ(PSCellTypeName(-1), "");
}

struct SectionCase {
    const char* name;
    std::vector<long> types;
    std::vector<std::pair<long, std::vector<long>>> sections; // group index, rows
};

TEST(Sections, GroupRowsOpenAndHeadSections) {
    const SectionCase cases[] = {
        {"empty", {}, {}},
        {"rows without a group", {6, 6, 13}, {{-1, {0, 1, 2}}}},
        {"group first", {0, 6, 7}, {{0, {1, 2}}}},
        {"rows then a group", {6, 7, 0, 1, 8}, {{-1, {0, 1}}, {2, {3, 4}}}},
        {"two groups in a row make an empty section", {0, 0, 6}, {{0, {}}, {1, {2}}}},
        {"trailing group", {6, 0}, {{-1, {0}}, {1, {}}}},
    };
    for (const SectionCase& c : cases) {
        const PSSectionLayout layout = PSSectionsFromCellTypes(c.types);
        ASSERT_EQ(layout.sections.size(), c.sections.size()) << c.name;
        for (size_t i = 0; i < c.sections.size(); ++i) {
            EXPECT_EQ(layout.sections[i].groupIndex, c.sections[i].first) << c.name << " section " << i;
            EXPECT_EQ(layout.sections[i].rows, c.sections[i].second) << c.name << " section " << i;
        }
    }
}

TEST(Sections, PositionsAndFlatIndexesAgree) {
    const PSSectionLayout layout = PSSectionsFromCellTypes({6, 7, 0, 1, 8});
    EXPECT_EQ(layout.flatIndex(0, 1), 1);
    EXPECT_EQ(layout.flatIndex(1, 0), 3);
    EXPECT_EQ(layout.flatIndex(1, 2), -1);
    EXPECT_EQ(layout.flatIndex(2, 0), -1);
    EXPECT_EQ(layout.flatIndex(-1, 0), -1);
    EXPECT_EQ(layout.position(4), (std::pair<long, long>{1, 1}));
    EXPECT_EQ(layout.position(2), (std::pair<long, long>{-1, -1})); // a group row is no row
}

TEST(ValueTitles, ValuesAreFoundByNumberWhateverTheirKind) {
    const PlistDict segment{{"validValues", PlistArray{PlistValue(0), PlistValue(1), PlistValue(2)}},
                            {"validTitles", PlistArray{PlistValue("Hue"), PlistValue("Saturation")}}};
    EXPECT_EQ(PSIndexOfValue(segment, PlistValue(1)), 1);
    EXPECT_EQ(PSIndexOfValue(segment, PlistValue(1.0)), 1);
    EXPECT_EQ(PSIndexOfValue(segment, PlistValue(true)), 1);
    EXPECT_EQ(PSIndexOfValue(segment, PlistValue("1")), -1); // text is not a number here
    EXPECT_EQ(PSIndexOfValue(segment, PlistValue()), -1);
    EXPECT_EQ(PSTitleForValue(segment, PlistValue(0)), "Hue");
    EXPECT_EQ(PSTitleForValue(segment, PlistValue(2)), "2"); // no title given: the value's text
    EXPECT_EQ(PSTitleForValue(segment, PlistValue(7)), "7");
    EXPECT_EQ(PSTitleForValue(PlistDict{}, PlistValue("plain")), "plain");
}

TEST(ValueTitles, DisplayTexts) {
    EXPECT_EQ(PSDisplayTextOfValue(PlistValue(30)), "30");
    EXPECT_EQ(PSDisplayTextOfValue(PlistValue(2.5)), "2.5");
    EXPECT_EQ(PSDisplayTextOfValue(PlistValue(60.0)), "60");
    EXPECT_EQ(PSDisplayTextOfValue(PlistValue(true)), "1");
    EXPECT_EQ(PSDisplayTextOfValue(PlistValue("abc")), "abc");
    EXPECT_EQ(PSDisplayTextOfValue(PlistValue()), "");
}

} // namespace
