#include "pane/HushmarkStatus.h"

bool statusShowsDisarmed(bool masterEnabled, std::optional<double> deadline, double now) {
    return masterEnabled && deadline && now + kStatusMarginSeconds < *deadline;
}

std::string statusDisarmedText(const std::string& formattedDeadline) {
    std::string text = kStatusDisarmedFormat;
    return text.replace(text.find("%@"), 2, formattedDeadline);
}
