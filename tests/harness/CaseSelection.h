// Which of a test program's cases one run takes: GoogleTest's own rules, applied before any case
// runs, so that a program running each case in a process of its own (CaseProcessesMain.cpp) picks
// the same cases as GoogleTest would in one process.
//   filter   "POSITIVE[-NEGATIVE]", each a ':'-separated list of patterns ('*' any text, '?' any
//            one character); an empty positive part takes every case.
//   disabled a case whose suite or name starts with "DISABLED_" runs only when asked for.
//   shards   of the cases left, in registration order, shard K of N takes those whose position
//            modulo N is K.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm_test_harness {

// True when `name` matches the pattern as a whole.
bool matchesPattern(std::string_view pattern, std::string_view name);
// True when the filter takes the case "Suite.Name".
bool filterTakes(std::string_view filter, std::string_view fullName);

struct Shard {
    int total = 1;
    int index = 0;
};

struct CaseName {
    std::string suite;
    std::string name;
    std::string full() const { return suite + "." + name; }
};

// The cases one run takes, in order.
std::vector<CaseName> selectCases(const std::vector<CaseName>& all, std::string_view filter,
                                  bool alsoRunDisabled, Shard shard);

} // namespace hm_test_harness
