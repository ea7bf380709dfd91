#include "pane/DisarmLength.h"

#include "rules/DisarmTime.h"

int32_t disarmLengthSeconds(std::optional<int32_t> storedMinutes) {
    return storedMinutes ? disarmSecondsForMinutes(*storedMinutes) : kDefaultDisarmSeconds;
}
