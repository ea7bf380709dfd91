#include "substrate/substrate.h"

void MSHookMessageEx(Class* cls, SEL sel, Imp replacement, Imp* previous) {
    if (previous)
        *previous = Imp{};
    if (!cls || !sel || !class_respondsToSelector(cls, sel))
        return;
    Imp old = class_replaceMethod(cls, sel, std::move(replacement));
    if (previous)
        *previous = std::move(old);
}
