// The main of a test program whose cases each need a process of their own (a booted device, a
// loaded library's constructor that runs once, the one run loop and device root of a process).
// Starting a program is what costs: under the sanitizers a few hundred milliseconds of CPU each
// time (the loader's relocations, mostly the sanitizer's records of globals). So the program
// starts once, and before any case has run it forks a child for each case: the child begins from
// the state a fresh start gives, runs its one case, and exits (the leak check runs at its exit, as
// in a program of its own). The parent runs no case; it reports each child's result and fails
// when any case failed, crashed, ran longer than its time, or did not run.
//
// Cases are selected as GoogleTest selects them (--gtest_filter, disabled cases, and the shards
// GTEST_TOTAL_SHARDS / GTEST_SHARD_INDEX that CTest gives each entry of a sharded program), in
// registration order. --hm_case_timeout=SECONDS bounds each case (a hang fails that case and the
// run goes on). Anything that is not a run of the cases goes to GoogleTest as usual: listing the
// cases, a death test's own child, or --hm_in_process (every selected case in this one process).
#include "CaseSelection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using hm_test_harness::CaseName;

// A child's exit status when its filter took no case, which would otherwise pass unnoticed.
constexpr int kRanNoCase = 97;

std::vector<CaseName> registeredCases() {
    std::vector<CaseName> cases;
    const auto& unit = *testing::UnitTest::GetInstance();
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const auto& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j)
            cases.push_back({suite.name(), suite.GetTestInfo(j)->name()});
    }
    return cases;
}

int environmentNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 0 && value < 1000000 ? static_cast<int>(value) : -1;
}

// A child's report of its one case: the case's start, each failure where it happened, and its end
// with its time (GoogleTest's own report would add a dozen lines of totals to every case).
class CaseReport : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& info) override {
        std::printf("[ RUN      ] %s.%s\n", info.test_suite_name(), info.name());
        std::fflush(stdout);
    }
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (result.type() == testing::TestPartResult::kSuccess)
            return;
        const char* kind = result.skipped() ? "Skipped" : "Failure";
        if (result.file_name())
            std::printf("%s:%d: %s\n%s\n", result.file_name(), result.line_number(), kind, result.message());
        else
            std::printf("%s\n%s\n", kind, result.message());
        std::fflush(stdout);
    }
    void OnTestEnd(const testing::TestInfo& info) override {
        const auto& result = *info.result();
        const char* verdict = result.Failed()    ? "[  FAILED  ]"
                              : result.Skipped() ? "[  SKIPPED ]"
                                                 : "[       OK ]";
        std::printf("%s %s.%s (%lld ms)\n", verdict, info.test_suite_name(), info.name(),
                    static_cast<long long>(result.elapsed_time()));
        std::fflush(stdout);
    }
};

// In the child: runs the one case, as a program of its own would, and exits.
[[noreturn]] void runInChild(const CaseName& c, const sigset_t& parentMask) {
    sigprocmask(SIG_SETMASK, &parentMask, nullptr);
    setpgid(0, 0); // its own group: a timeout ends the case's own children too
    unsetenv("GTEST_TOTAL_SHARDS");
    unsetenv("GTEST_SHARD_INDEX");
    GTEST_FLAG_SET(filter, c.full());
    GTEST_FLAG_SET(also_run_disabled_tests, true); // the parent chose it
    auto& listeners = testing::UnitTest::GetInstance()->listeners();
    delete listeners.Release(listeners.default_result_printer());
    listeners.Append(new CaseReport);
    const int status = RUN_ALL_TESTS();
    std::exit(testing::UnitTest::GetInstance()->test_to_run_count() == 1 ? status : kRanNoCase);
}

// What became of a child: "" when its case passed, else why not.
std::string outcome(int status) {
    if (WIFEXITED(status)) {
        const int code = WEXITSTATUS(status);
        if (code == 0)
            return "";
        if (code == kRanNoCase)
            return "the case did not run";
        return "exit status " + std::to_string(code);
    }
    if (WIFSIGNALED(status))
        return std::string("killed by signal ") + strsignal(WTERMSIG(status));
    return "unknown status";
}

// Waits for the child; past the deadline (timeout > 0), kills its group. "" when it passed.
std::string waitForChild(pid_t child, int timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    while (true) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            return outcome(status);
        if (done < 0 && errno != EINTR)
            return std::string("lost the child: ") + std::strerror(errno);
        if (timeoutSeconds <= 0) {
            // No deadline: sleep until a child changes state.
            sigwaitinfo(&childSignal, nullptr);
            continue;
        }
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return "ran longer than " + std::to_string(timeoutSeconds) + " s";
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec wait{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        sigtimedwait(&childSignal, nullptr, &wait);
    }
}

int runEachCaseInAChild(int timeoutSeconds) {
    const hm_test_harness::Shard shard{environmentNumber("GTEST_TOTAL_SHARDS", 1),
                                       environmentNumber("GTEST_SHARD_INDEX", 0)};
    if (shard.total < 1 || shard.index < 0 || shard.index >= shard.total) {
        std::cerr << "bad shard: GTEST_SHARD_INDEX must lie in 0 to GTEST_TOTAL_SHARDS - 1\n";
        return 2;
    }
    const auto cases = hm_test_harness::selectCases(registeredCases(), GTEST_FLAG_GET(filter),
                                                    GTEST_FLAG_GET(also_run_disabled_tests), shard);
    // SIGCHLD stays blocked in the parent, so that the wait above can sleep on it.
    sigset_t childSignal, parentMask;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignal, &parentMask);
    std::vector<std::string> failed;
    for (const auto& c : cases) {
        std::fflush(nullptr); // nothing buffered is written twice
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child < 0) {
            std::cerr << "cannot fork: " << std::strerror(errno) << "\n";
            return 2;
        }
        if (child == 0)
            runInChild(c, parentMask);
        const std::string why = waitForChild(child, timeoutSeconds);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        if (!why.empty()) {
            std::cout << "[  FAILED  ] " << c.full() << ": " << why << " (" << ms << " ms in its process)"
                      << std::endl;
            failed.push_back(c.full() + ": " + why);
        }
    }
    std::cout << "[==========] " << cases.size()
              << " cases, each in a process of its own: " << cases.size() - failed.size() << " passed, "
              << failed.size() << " failed" << std::endl;
    for (const auto& f : failed)
        std::cout << "[  FAILED  ] " << f << std::endl;
    return failed.empty() ? 0 : 1;
}

bool hasArgument(int argc, char** argv, std::string_view prefix) {
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]).starts_with(prefix))
            return true;
    return false;
}

// Takes --hm_case_timeout=N and --hm_in_process out of the arguments, before GoogleTest sees them.
// The timeout is -1 when it is not a whole number of seconds.
int takeOwnArguments(int& argc, char** argv, bool& inProcess) {
    constexpr std::string_view kTimeout = "--hm_case_timeout=";
    int timeout = 0;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(kTimeout)) {
            char* end = nullptr;
            const long seconds = std::strtol(argv[i] + kTimeout.size(), &end, 10);
            timeout = end != argv[i] + kTimeout.size() && *end == '\0' && seconds > 0 && seconds < 100000
                          ? static_cast<int>(seconds)
                          : -1;
        } else if (arg == "--hm_in_process")
            inProcess = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return timeout;
}

} // namespace

int main(int argc, char** argv) {
    bool inProcess = false;
    const int timeout = takeOwnArguments(argc, argv, inProcess);
    if (timeout < 0) {
        std::cerr << "--hm_case_timeout takes a whole number of seconds, 1 or more\n";
        return 2;
    }
    // A death test's child re-runs this program to run its statement: it must not fork cases.
    inProcess = inProcess || hasArgument(argc, argv, "--gtest_internal_run_death_test");
    testing::InitGoogleTest(&argc, argv);
    if (inProcess || GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    return runEachCaseInAChild(timeout);
}
