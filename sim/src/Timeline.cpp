#include "Timeline.h"

#include "words/Words.h"

#include "device/LocalTime.h"

namespace sim {

Timeline::Timeline(std::string timeZone, std::string lastDay)
    : zone_(std::move(timeZone)), lastDay_(std::move(lastDay)) {}

std::string Timeline::stamp(NSDate time) {
    const std::string day = localDateTime(time, zone_).substr(0, 10);
    std::string clock = localClock(time, zone_);
    if (day == lastDay_)
        return clock;
    lastDay_ = day;
    return day + " " + clock;
}

std::string Timeline::line(NSDate time, const std::string& text) {
    return stamp(time) + "  " + printableLines(text, 1000);
}

std::string Timeline::line(const DeviceEvent& event) {
    return line(event.time, event.kind + (event.detail.empty() ? "" : "  " + event.detail));
}

std::string printableLines(const std::string& text, size_t lineLimit) {
    std::string out;
    for (size_t from = 0;;) {
        const size_t end = text.find('\n', from);
        out +=
            excerpt(text.substr(from, end == std::string::npos ? std::string::npos : end - from), lineLimit);
        if (end == std::string::npos)
            return out;
        out += '\n';
        from = end + 1;
    }
}

} // namespace sim
