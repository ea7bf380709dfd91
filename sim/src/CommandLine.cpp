#include "CommandLine.h"

#include "words/Words.h"

#include "device/DeviceSetup.h"
#include "device/LocalTime.h"

#include <algorithm>
#include <sstream>

namespace sim {

bool parseArgs(int argc, char** argv, int from, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, Args& out, std::string& error) {
    for (int i = from; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("--", 0) != 0) {
            out.positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            out.options[name] = "1";
        } else if (std::find(valued.begin(), valued.end(), name) != valued.end()) {
            if (i + 1 >= argc) {
                error = excerpt(a) + " needs a value";
                return false;
            }
            out.options[name] = argv[++i];
        } else {
            error = "unknown option " + excerpt(a);
            return false;
        }
    }
    return true;
}

std::vector<std::string> splitComma(const std::string& s) {
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string w;
    while (std::getline(in, w, ','))
        if (!w.empty())
            out.push_back(w);
    return out;
}

const std::vector<std::string>& deviceImageOptionNames() {
    static const std::vector<std::string> names{
        "with", "locale", "timezone", "languages", "screen", "springboard-without", "timer-slack"};
    return names;
}

std::string deviceImageOptions(const Args& args, DeviceImageOptions& options) {
    auto given = [&](const char* name) -> const std::string* {
        auto it = args.options.find(name);
        return it == args.options.end() ? nullptr : &it->second;
    };
    if (auto v = given("with"))
        options.addons = splitComma(*v);
    if (auto v = given("locale"))
        options.locale = *v;
    if (auto v = given("timezone"))
        options.timeZone = *v;
    if (!isKnownTimeZone(options.timeZone))
        return "--timezone takes a time zone such as UTC or Europe/Berlin, not \"" +
               excerpt(options.timeZone) + "\"";
    if (auto v = given("languages"))
        options.languages = splitComma(*v);
    if (auto v = given("screen")) {
        auto setup = setupForScreen(*v);
        if (!setup)
            return "--screen must be one of 320x568, 375x667, 414x736";
        options.setup = *setup;
    }
    if (auto v = given("springboard-without")) {
        for (const std::string& name : splitComma(*v)) {
            const auto& known = removableSpringBoardClasses();
            if (std::find(known.begin(), known.end(), name) == known.end())
                return "--springboard-without takes SpringBoard classes, not \"" + excerpt(name) + "\"";
            options.setup.springboardWithout.push_back(name);
        }
    }
    if (auto v = given("timer-slack")) {
        auto slack = parseDuration(*v);
        if (!slack || *slack < 0 || *slack > kMaxTimerSlack)
            return "--timer-slack takes a duration of at most a day, like 30s";
        options.setup.timerSlack = *slack;
    }
    return "";
}

} // namespace sim
