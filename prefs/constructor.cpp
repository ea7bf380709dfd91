// The load-time constructor: runs once, when the Settings app loads Hushmark.bundle.
#include "pane/PaneState.h"

namespace {

__attribute__((constructor)) void hushmarkBundleLoaded() {
    // Lives until the Settings app exits; never destroyed, so no page can outlive it.
    static PaneState* const state = new PaneState;
    usePaneState(state);
}

} // namespace
