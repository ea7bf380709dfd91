// CydiaSubstrate's method hooking.
#pragma once

#include "objc/runtime.h"

// Saves the class's current implementation of `sel` into `*previous` and installs
// `replacement`; the replacement calls `*previous` to run the original. When the class cannot
// answer `sel`, `*previous` is left empty and nothing changes.
void MSHookMessageEx(Class* cls, SEL sel, Imp replacement, Imp* previous);
