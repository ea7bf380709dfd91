// The scenario language's rules, one a verb: how many words it takes, its usage line, and how
// its words become a typed step (or the message saying which word is wrong). Used by the
// parser only (Scenario.cpp).
#pragma once

#include "Scenario.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace sim::rules {

using Words = std::vector<std::string>;

// A word quoted for a message.
std::string quote(const std::string& word);
// "" when `word` is one of `options`, else "WHAT must be one of A, B, not "word"".
std::string oneOf(const std::string& word, const std::vector<std::string>& options, const char* what);
std::string oneOf(const std::string& word, std::initializer_list<const char*> options, const char* what);
// A screen's name, into `out`.
std::string screen(const std::string& word, Screen& out);
// Two coordinates from `a[at]`, into `out`.
std::string point(const Words& a, size_t at, ScreenPoint& out);

template <class Target> struct Rule {
    size_t minArgs, maxArgs; // words after the verb
    const char* usage;
    std::function<std::string(const Words&, Target&)> build; // "" when the words are right
};

// The lines before `boot` that describe the device, into the scenario's settings.
const std::map<std::string, Rule<ScenarioSettings>>& settingRules();
// Every other step.
const std::map<std::string, Rule<Action>>& stepRules();
// `expect ...`: the words after "expect".
std::string expectation(const Words& a, Action& out);

} // namespace sim::rules
