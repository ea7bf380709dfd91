// The status row's text: "Hushmarked Until: <deadline>" while alarms are disarmed for more
// than the next 15 seconds, else "Alarms Enabled". Pure: dates are seconds since 2001.
#pragma once

#include <optional>
#include <string>

inline constexpr const char* kStatusArmedText = "Alarms Enabled";
inline constexpr const char* kStatusDisarmedFormat = "Hushmarked Until: %@";

// Whether the status row shows the disarmed text (list built, page shown again, master switch on):
// the master switch is on and the deadline is still ahead by the shared 15-second margin, as the
// tweak judges it.
bool statusShowsDisarmed(bool masterEnabled, std::optional<double> deadline, double now);
// "Hushmarked Until: " followed by the formatted deadline.
std::string statusDisarmedText(const std::string& formattedDeadline);
