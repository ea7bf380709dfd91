// The forking main through a program of its own (probe_cases.cpp): each case in a fresh process,
// every fault reported against its case while the others still run, shards and filters as
// GoogleTest takes them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#ifndef HM_HARNESS_PROBE
#error "HM_HARNESS_PROBE must name the probe program"
#endif

namespace {

struct ProbeRun {
    int status = -1;
    std::string output;
};

// Runs the probe through the shell with ENVIRONMENT ("A=1 B=2", or "") and ARGUMENTS.
ProbeRun runProbe(const std::string& environment, const std::string& arguments) {
    const std::string command = "env " + environment + " " HM_HARNESS_PROBE " " + arguments + " 2>&1";
    ProbeRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

struct ProbeCase {
    const char* what;
    const char* environment;
    const char* arguments;
    int status;
    std::vector<const char*> shown;
    std::vector<const char*> notShown;
};

TEST(CaseProcesses, EachCaseRunsInAFreshProcessAndEveryFaultIsItsCasesAlone) {
    const ProbeCase cases[] = {
        {"cases that each need a fresh process",
         "",
         "--gtest_filter=Fresh.*",
         0,
         {"[       OK ] Fresh.FirstCaseSeesNoEarlierCase", "[       OK ] Fresh.SecondCaseSeesNoEarlierCase",
          "2 cases, each in a process of its own: 2 passed, 0 failed"},
         {"FAILED"}},
        {"the same in one process",
         "",
         "--gtest_filter=Fresh.* --hm_in_process",
         1,
         {"[  FAILED  ] Fresh.SecondCaseSeesNoEarlierCase"},
         {"each in a process of its own"}},
        {"a failure, a crash and a hang, among passing cases",
         "HM_PROBE_FAULTS=1",
         "--hm_case_timeout=1",
         1,
         {"[  FAILED  ] Faults.Crashes: killed by signal", "[  FAILED  ] Faults.Hangs: ran longer than 1 s",
          "[  FAILED  ] Faults.Fails: exit status 1", "[       OK ] Fresh.SecondCaseSeesNoEarlierCase",
          "5 cases, each in a process of its own: 2 passed, 3 failed"},
         {"DISABLED_NeverRunsUnlessAsked"}},
        {"a disabled case, when asked for",
         "",
         "--gtest_filter=*Disabled*:*DISABLED* --gtest_also_run_disabled_tests",
         1,
         {"a disabled case ran", "1 cases, each in a process of its own: 0 passed, 1 failed"},
         {}},
        {"the second of two shards",
         "GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=1",
         "",
         0,
         {"[       OK ] Fresh.SecondCaseSeesNoEarlierCase", "[       OK ] Faults.Hangs",
          "2 cases, each in a process of its own"},
         {"Fresh.FirstCaseSeesNoEarlierCase", "Faults.Crashes", "Faults.Fails"}},
        {"a shard beyond the count",
         "GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=2",
         "",
         2,
         {"bad shard"},
         {"[ RUN"}},
        {"a bad case timeout", "", "--hm_case_timeout=soon", 2, {"--hm_case_timeout"}, {"[ RUN"}},
        {"a filter that takes nothing",
         "",
         "--gtest_filter=Nothing.*",
         0,
         {"0 cases, each in a process of its own"},
         {"[ RUN"}},
        {"a case its own filter cannot pick out",
         "HM_PROBE_ODD_NAME=1",
         "--gtest_filter=Odd.*",
         1,
         {"[  FAILED  ] Odd.name:with:colons: the case did not run"},
         {}},
        {"the list of cases",
         "",
         "--gtest_list_tests",
         0,
         {"Fresh.\n  FirstCaseSeesNoEarlierCase"},
         {"[ RUN"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ProbeRun run = runProbe(c.environment, c.arguments);
        EXPECT_EQ(run.status, c.status) << run.output;
        for (const char* text : c.shown)
            EXPECT_NE(run.output.find(text), std::string::npos) << "missing \"" << text << "\" in\n"
                                                                << run.output;
        for (const char* text : c.notShown)
            EXPECT_EQ(run.output.find(text), std::string::npos) << "unexpected \"" << text << "\" in\n"
                                                                << run.output;
    }
}

} // namespace
