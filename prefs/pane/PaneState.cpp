#include "pane/PaneState.h"

#include <cstdio>
#include <cstdlib>

namespace {
PaneState* current = nullptr;
} // namespace

PaneState& paneState() {
    if (!current) {
        std::fputs("Hushmark.bundle: a page ran with no pane state in place\n", stderr);
        std::abort();
    }
    return *current;
}

void usePaneState(PaneState* state) {
    current = state;
}
