// The timeline's text: one line a step or device event, "HH:MM:SS  TEXT", with the local date in
// front when the day changed since the previous line. The scenario runner prints these lines;
// the browser front end shows the same lines in its timeline panel.
#pragma once

#include "foundation/DeviceEvents.h"
#include "foundation/NSDate.h"

#include <string>

namespace sim {

class Timeline {
  public:
    // `lastDay` ("YYYY-MM-DD") is the day of the line before the first, if any.
    explicit Timeline(std::string timeZone, std::string lastDay = {});
    // "HH:MM:SS", with "YYYY-MM-DD " in front when the day changed since the last stamp.
    std::string stamp(NSDate time);
    // The whole line; each line of `text` a printable excerpt.
    std::string line(NSDate time, const std::string& text);
    std::string line(const DeviceEvent& event);
    const std::string& lastDay() const { return lastDay_; }
    const std::string& timeZone() const { return zone_; }

  private:
    std::string zone_;
    std::string lastDay_;
};

// Each line of `text` as a printable excerpt of at most `lineLimit` characters.
std::string printableLines(const std::string& text, size_t lineLimit);

} // namespace sim
