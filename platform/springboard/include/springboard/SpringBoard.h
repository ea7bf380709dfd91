// The SpringBoard application object; `applicationDidFinishLaunching:` is sent once, after
// launch and after the tweaks are loaded.
#pragma once

#include "objc/runtime.h"

struct SpringBoard : NSObject {
    bool launched_ = false;
    void applicationDidFinishLaunching(id application);
};
