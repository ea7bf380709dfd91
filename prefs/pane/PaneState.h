// The pane's process-wide state: what every page of the Settings process shares for the life
// of the process. The bundle's load-time constructor makes the one instance the Settings app
// uses; a test makes its own and puts it in place, so no test depends on another's state.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"

struct PaneState {
    PlistDict listSettings;     // the root page's copy of the settings file
    id statusSpecifier;         // the status row of the newest root list; none until one is built
    PlistDict selectorSettings; // the color page's own copy, apart from the root page's
};

// The state in place. None in place is a programming error: the program stops with a message.
PaneState& paneState();
// Puts `state` in place for every page of the process (none: takes it away).
void usePaneState(PaneState* state);
