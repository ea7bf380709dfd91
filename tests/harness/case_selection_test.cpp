#include "CaseSelection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

using hm_test_harness::CaseName;
using hm_test_harness::filterTakes;
using hm_test_harness::matchesPattern;
using hm_test_harness::selectCases;
using hm_test_harness::Shard;

struct PatternCase {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(CaseSelection, PatternsMatchTheWholeNameWithStarsAndQuestionMarks) {
    const PatternCase cases[] = {
        {"*", "", true},
        {"*", "Suite.Case", true},
        {"", "", true},
        {"", "a", false},
        {"Suite.Case", "Suite.Case", true},
        {"Suite.Case", "Suite.CaseTwo", false}, // the whole name, not a prefix
        {"Suite.Case", "MySuite.Case", false},
        {"Suite.*", "Suite.Case", true},
        {"Suite.*", "Suites.Case", false},
        {"*.Case", "Any.Case", true},
        {"S?ite.Case", "Suite.Case", true},
        {"S?ite.Case", "Site.Case", false}, // '?' is exactly one character
        {"*a*b*c", "xaxbxbxc", true},       // the later star takes over after a false start
        {"*a*b*c", "xaxbxbxcx", false},
        {"Files/Hostile.*/Empty", "Files/Hostile.Boots/Empty", true},
        {"a**", "a", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches) << c.pattern << " against " << c.name;
}

struct FilterCase {
    const char* filter;
    const char* name;
    bool takes;
};

TEST(CaseSelection, AFilterTakesItsPositivePatternsLessItsNegativeOnes) {
    const FilterCase cases[] = {
        {"", "A.b", true},                                   // no filter: everything
        {"*", "A.b", true},        {"-A.*", "A.b", false},   // only negative: everything else
        {"-A.*", "B.b", true},     {"A.*:B.*", "B.c", true}, // any of the positive list
        {"A.*:B.*", "C.c", false}, {"*-A.b:A.c", "A.c", false}, {"*-A.b:A.c", "A.d", true},
        {"A.*-A.b", "A.b", false}, {"A.*-A.b", "B.x", false}, // the negative part never widens the positive
                                                              // one
    };
    for (const auto& c : cases)
        EXPECT_EQ(filterTakes(c.filter, c.name), c.takes) << c.filter << " on " << c.name;
}

std::vector<std::string> fullNames(const std::vector<CaseName>& cases) {
    std::vector<std::string> names;
    for (const auto& c : cases)
        names.push_back(c.full());
    return names;
}

TEST(CaseSelection, ShardsSplitTheSelectedCasesInTurnAndDisabledOnesRunOnlyWhenAsked) {
    const std::vector<CaseName> all = {
        {"A", "one"},  {"A", "DISABLED_two"}, {"A", "three"}, {"DISABLED_B", "four"},
        {"B", "five"}, {"C", "six"},          {"C", "seven"},
    };
    struct Row {
        const char* filter;
        bool disabled;
        Shard shard;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"", false, {1, 0}, {"A.one", "A.three", "B.five", "C.six", "C.seven"}},
        {"",
         true,
         {1, 0},
         {"A.one", "A.DISABLED_two", "A.three", "DISABLED_B.four", "B.five", "C.six", "C.seven"}},
        // The shards count the cases the filter takes, so they stay even whatever it leaves out.
        {"", false, {2, 0}, {"A.one", "B.five", "C.seven"}},
        {"", false, {2, 1}, {"A.three", "C.six"}},
        {"-A.*", false, {2, 0}, {"B.five", "C.seven"}},
        {"-A.*", false, {2, 1}, {"C.six"}},
        {"", false, {3, 2}, {"B.five"}},
        {"", false, {9, 8}, {}},
        {"Z.*", false, {1, 0}, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fullNames(selectCases(all, row.filter, row.disabled, row.shard)), row.expected)
            << "filter \"" << row.filter << "\", shard " << row.shard.index << " of " << row.shard.total;
}

TEST(CaseSelection, EveryCaseFallsInExactlyOneShard) {
    std::vector<CaseName> all;
    for (int i = 0; i < 23; ++i)
        all.push_back({"S", "c" + std::to_string(i)});
    for (int total = 1; total <= 5; ++total) {
        std::vector<std::string> seen;
        for (int index = 0; index < total; ++index)
            for (const auto& name : fullNames(selectCases(all, "", false, {total, index})))
                seen.push_back(name);
        std::sort(seen.begin(), seen.end());
        auto expected = fullNames(all);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(seen, expected) << total << " shards";
    }
}

} // namespace
