// The scenario runner as a person runs it, for the suites that compare the served device's
// timeline with a run's: `hushmark-sim run` in a process of its own (one device a process, as a
// phone has), and the timeline's device events.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace sim::web {

// The timeline's event lines without their dates (the runner and the page start a new day's
// date on different lines) and without the runner's own lines (steps, the header, the end).
inline std::vector<std::string> timelineEvents(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    static const std::regex date("^\\d{4}-\\d\\d-\\d\\d ");
    for (std::string line : lines) {
        line = std::regex_replace(line, date, "");
        if (line.empty() || line[0] == '#' || line.find("  > ") != std::string::npos ||
            line.substr(line.find("  ") + 2) == "end")
            continue;
        out.push_back(line);
    }
    return out;
}

// `hushmark-sim run` of `text`: the lines it printed; a failed run fails the test.
inline std::vector<std::string> runScenarioText(const std::string& text) {
    std::string pattern = (std::filesystem::temp_directory_path() / "hm-sim-run-XXXXXX").string();
    EXPECT_TRUE(mkdtemp(pattern.data()));
    const std::filesystem::path folder = pattern;
    std::ofstream(folder / "scenario.scn") << text;
    const std::string command =
        std::string(HM_SIM) + " run '" + (folder / "scenario.scn").string() + "' 2>&1";
    std::vector<std::string> lines;
    if (FILE* out = popen(command.c_str(), "r")) {
        std::string all;
        char block[4096];
        for (size_t n; (n = fread(block, 1, sizeof block, out)) > 0;)
            all.append(block, n);
        EXPECT_EQ(pclose(out), 0) << all;
        std::istringstream in(all);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return lines;
}

} // namespace sim::web
