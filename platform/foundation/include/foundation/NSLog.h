// NSLog: a timestamped line to the device log (standard error) and a "log" device event.
#pragma once

#include <string>

void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The line NSLog writes for `message` at the device clock's now, in the device's time zone:
// "2026-12-07 10:30:00.000 <process>[<pid>] <message>".
std::string NSLogLine(const std::string& message);
