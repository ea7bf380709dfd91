// NSLog: one line per call on standard error (the device log), and a "log" event.
#include "foundation/NSLog.h"

#include "IcuSupport.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <unicode/smpdtfmt.h>
#include <unistd.h>
#include <vector>

std::string NSLogLine(const std::string& message) {
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(icu::UnicodeString("yyyy-MM-dd HH:mm:ss.SSS"), icu::Locale::getRoot(),
                                 status);
    std::string stamp;
    if (U_SUCCESS(status)) {
        format.adoptTimeZone(timeZoneNamed(DeviceEnvironment::timeZone()).release());
        icu::UnicodeString text;
        format.format(icuMillis(DeviceClock::now().timeIntervalSinceReferenceDate), text);
        stamp = toUtf8(text);
    }
    return stamp + " " + program_invocation_short_name + "[" + std::to_string(::getpid()) + "] " + message;
}

void NSLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string message;
    if (n > 0) {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        message.assign(buffer.data(), static_cast<size_t>(n));
    }
    va_end(args);
    std::string line = NSLogLine(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    DeviceEvents::record("log", message);
}
