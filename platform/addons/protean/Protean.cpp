// Protean: loads into SpringBoard and does nothing this system relies on. Its presence is what
// matters: a library that loads cleanly and records that it did.
#include "foundation/DeviceEvents.h"

namespace {
__attribute__((constructor)) void loadProtean() {
    DeviceEvents::record("library loaded", HM_LIBRARY_NAME);
}
} // namespace
