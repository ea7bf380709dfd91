#include "Outside.h"

#include "rules/SharedNames.h"

void setStatusIconVisible(TweakState& state, bool visible) {
    if (state.statusItem)
        msg(state.statusItem, "setVisible:", visible);
}

void setToggleState(TweakState& state, bool on) {
    id panel = msg<id>(state.switchPanel.object(), "sharedPanel");
    msg(panel, "setState:forSwitchIdentifier:", NSInteger{on ? 1 : 0}, std::string(kToggleIdentifier));
}

id classNamed(const char* name) {
    Class* cls = objc_getClass(name);
    return cls ? classObject(cls) : nullptr;
}
