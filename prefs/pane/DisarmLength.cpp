#include "pane/DisarmLength.h"

int32_t disarmLengthSeconds(std::optional<int32_t> storedMinutes) {
    if (!storedMinutes) return kDefaultDisarmSeconds;
    // Unsigned multiplication wraps by definition; the cast back gives the 32-bit result.
    return static_cast<int32_t>(static_cast<uint32_t>(*storedMinutes) * 60u);
}
