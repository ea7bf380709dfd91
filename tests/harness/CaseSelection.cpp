#include "CaseSelection.h"

namespace hm_test_harness {

bool matchesPattern(std::string_view pattern, std::string_view name) {
    // Greedy matching with one backtrack point (the last '*'): linear in practice, never
    // exponential.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

namespace {

bool anyMatches(std::string_view patterns, std::string_view name) {
    while (true) {
        const size_t colon = patterns.find(':');
        if (matchesPattern(patterns.substr(0, colon), name))
            return true;
        if (colon == std::string_view::npos)
            return false;
        patterns.remove_prefix(colon + 1);
    }
}

bool isDisabled(const CaseName& c) {
    return c.suite.starts_with("DISABLED_") || c.name.starts_with("DISABLED_");
}

} // namespace

bool filterTakes(std::string_view filter, std::string_view fullName) {
    const size_t dash = filter.find('-');
    std::string_view positive = filter.substr(0, dash);
    const std::string_view negative =
        dash == std::string_view::npos ? std::string_view{} : filter.substr(dash + 1);
    if (positive.empty())
        positive = "*";
    return anyMatches(positive, fullName) && (negative.empty() || !anyMatches(negative, fullName));
}

std::vector<CaseName> selectCases(const std::vector<CaseName>& all, std::string_view filter,
                                  bool alsoRunDisabled, Shard shard) {
    std::vector<CaseName> taken;
    int position = 0;
    for (const auto& c : all) {
        if ((!alsoRunDisabled && isDisabled(c)) || !filterTakes(filter, c.full()))
            continue;
        if (shard.total <= 1 || position % shard.total == shard.index)
            taken.push_back(c);
        ++position;
    }
    return taken;
}

} // namespace hm_test_harness
