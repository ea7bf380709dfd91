// The Clock's data provider: one instance that lives as long as SpringBoard (+sharedInstance).
#pragma once

#include "objc/runtime.h"

struct SBClockDataProvider : NSObject {
    static id sharedInstance();
};
