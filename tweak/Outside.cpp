#include "Outside.h"

void setStatusIconVisible(TweakState& state, bool visible) {
    if (state.statusItem) msg(state.statusItem, "setVisible:", visible);
}

void setToggleState(bool on) {
    id panel = msg<id>(classNamed("FSSwitchPanel"), "sharedPanel");
    msg(panel, "setState:forSwitchIdentifier:", NSInteger{on ? 1 : 0}, std::string(kToggleIdentifier));
}

id classNamed(const char* name) {
    Class* cls = objc_getClass(name);
    return cls ? classObject(cls) : nullptr;
}
