// The load-time constructor: runs once, when SpringBoard loads Hushmark.dylib.
#include "Startup.h"

namespace {

__attribute__((constructor)) void hushmarkLoaded() {
    // Lives until SpringBoard exits; never destroyed, so no hook can outlive it.
    static TweakState* const state = new TweakState;
    startHushmark(*state);
}

} // namespace
