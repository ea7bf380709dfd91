// A library for the loader tests: records that its constructor ran.
#include "foundation/DeviceEvents.h"

namespace {
__attribute__((constructor)) void probeLoaded() {
    DeviceEvents::record("probe loaded", PROBE_NAME);
}
} // namespace
