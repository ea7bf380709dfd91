#include "ScenarioFiles.h"

#include "words/Words.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace sim {
namespace fs = std::filesystem;
namespace {

// The largest scenario read: a script of steps, never data. Reading stops there, so a device
// file such as /dev/zero is refused rather than read without end.
constexpr std::streamsize kMaxScenarioBytes = 1 << 20;

// Reads at most one byte more than the limit, so an overlong input is known as such. It reads in
// blocks, so a short scenario costs a short read: filling a buffer the size of the limit first
// would touch a mebibyte of fresh memory on every run.
bool readBounded(std::istream& in, const std::string& shown, std::string& text, std::string& error) {
    text.clear();
    char block[64 * 1024];
    while (std::streamsize(text.size()) <= kMaxScenarioBytes) {
        const std::streamsize wanted =
            std::min<std::streamsize>(sizeof block, kMaxScenarioBytes + 1 - std::streamsize(text.size()));
        in.read(block, wanted);
        text.append(block, size_t(in.gcount()));
        if (in.gcount() < wanted)
            break;
    }
    if (in.bad()) {
        error = "cannot read the scenario " + shown;
        return false;
    }
    if (std::streamsize(text.size()) > kMaxScenarioBytes) {
        error = "the scenario " + shown + " is larger than 1 MiB";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        error = "the scenario " + shown + " is not a text file";
        return false;
    }
    return true;
}

} // namespace

bool loadScenario(const std::string& nameOrFile, const std::map<std::string, std::string>& builtin,
                  std::string& text, std::string& name, std::string& error) {
    if (nameOrFile == "-") {
        name = "stdin";
        return readBounded(std::cin, "from standard input", text, error);
    }
    if (!fs::exists(nameOrFile) && builtin.count(nameOrFile)) {
        text = builtin.at(nameOrFile);
        name = nameOrFile;
        return true;
    }
    const std::string shown = excerpt(nameOrFile, 200);
    std::error_code ec;
    if (fs::is_directory(nameOrFile, ec)) {
        error = "the scenario " + shown + " is a folder, not a file";
        return false;
    }
    std::ifstream in(nameOrFile, std::ios::binary);
    if (!in) {
        error = "cannot read the scenario " + shown;
        return false;
    }
    name = fs::path(nameOrFile).stem().string();
    return readBounded(in, shown, text, error);
}

DeviceImageOptions scenarioImage(const ScenarioSettings& given, DeviceSetup setup) {
    DeviceImageOptions options{given.addons, given.locale, given.timeZone, given.languages, std::move(setup)};
    if (!given.screen.empty())
        options.setup = *setupForScreen(given.screen, options.setup);
    if (!given.springboardWithout.empty())
        options.setup.springboardWithout = given.springboardWithout;
    if (given.timerSlack)
        options.setup.timerSlack = *given.timerSlack;
    return options;
}

} // namespace sim
