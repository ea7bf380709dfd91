// The device a scenario runs on, and the steps it understands. Each step returns "" when it
// ran, else what went wrong (a failed expectation says what was seen).
#pragma once

#include "Runner.h"
#include "Scenario.h"

#include "coregraphics/CoreGraphics.h"
#include "foundation/NSDate.h"
#include "objc/runtime.h"
#include "springboard/AlarmBook.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class SpringBoardHost;
class SettingsApp;

namespace sim {

struct AlarmRequest {
    std::string time;  // "HH:MM[:SS]"
    std::string label;
    bool snooze = true;
    bool daily = false;
};

class VirtualDevice {
  public:
    VirtualDevice(const Scenario& scenario, RunOptions options, std::ostream& out, std::ostream& err);
    ~VirtualDevice();
    int run();

    // Steps (the scenario's verbs).
    std::string boot();
    std::string respring(size_t nextStep);
    std::string lock(bool locked);
    std::string alarm(const AlarmRequest& request);
    std::string notify(const std::string& bundle);
    std::string wait(double seconds);
    std::string until(int secondsOfDay);
    std::string jump(double seconds);
    std::string file(const std::vector<std::string>& args);
    std::string settings(const std::vector<std::string>& args);
    std::string picker(const std::vector<std::string>& args);
    std::string color(const std::vector<std::string>& args);
    std::string alert(const std::vector<std::string>& args);
    std::string expect(const std::vector<std::string>& args);
    std::string snapshot(const std::string& screen, const std::string& file);

  private:
    std::string execute(const Step& step, size_t index);
    void printEvent(NSDate time, const std::string& kind, const std::string& detail);
    std::string tapAlertButton(const std::string& title);
    id findView(id root, const std::string& classPrefix);
    id colorCell();
    bool touchInPage(id view, const std::vector<CGPoint>& points);
    id screenWindow();
    std::string settingsValueText(const std::string& key);
    bool saveResumeState(size_t nextStep);
    bool loadResumeState(size_t& nextStep);

    const Scenario& scenario_;
    RunOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<SpringBoardHost> springboard_;
    std::unique_ptr<SettingsApp> settings_;
    std::vector<AlarmRequest> alarms_;
    bool locked_ = false;
    size_t eventCursor_ = 0;
    id window_;
};

} // namespace sim
