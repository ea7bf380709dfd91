#include "pane/HushmarkStatus.h"

#include "rules/DisarmTime.h"

bool statusShowsDisarmed(bool masterEnabled, std::optional<double> deadline, double now) {
    return masterEnabled && deadline && deadlineStillAhead(now, *deadline);
}

std::string statusDisarmedText(const std::string& formattedDeadline) {
    std::string text = kStatusDisarmedFormat;
    return text.replace(text.find("%@"), 2, formattedDeadline);
}
