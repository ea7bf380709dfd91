// A program for the tests of the forking main (case_processes_test.cpp): cases that pass only in
// processes of their own, and, when HM_PROBE_FAULTS is set, cases that fail, crash and hang; when
// HM_PROBE_ODD_NAME is set, a case whose name no filter can pick out alone (':' separates patterns).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

int casesRunInThisProcess = 0;

bool faultsAsked() {
    return std::getenv("HM_PROBE_FAULTS") != nullptr;
}

TEST(Fresh, FirstCaseSeesNoEarlierCase) {
    EXPECT_EQ(casesRunInThisProcess++, 0);
}
TEST(Fresh, SecondCaseSeesNoEarlierCase) {
    EXPECT_EQ(casesRunInThisProcess++, 0);
}

TEST(Faults, Crashes) {
    if (faultsAsked())
        std::abort();
}
TEST(Faults, Hangs) {
    while (faultsAsked())
        pause();
}
TEST(Faults, Fails) {
    EXPECT_FALSE(faultsAsked());
}
TEST(Faults, DISABLED_NeverRunsUnlessAsked) {
    FAIL() << "a disabled case ran";
}

class Passes : public testing::Test {
    void TestBody() override {}
};

const bool oddNameRegistered = std::getenv("HM_PROBE_ODD_NAME") &&
                               testing::RegisterTest("Odd", "name:with:colons", nullptr, nullptr, __FILE__,
                                                     __LINE__, []() -> testing::Test* { return new Passes; });

} // namespace
