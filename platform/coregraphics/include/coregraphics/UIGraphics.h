// The current graphics context: a stack, so that a view's drawRect: finds the context its
// caller pushed. Single-threaded, as drawing on the device's main thread is.
#pragma once

#include "coregraphics/CGContext.h"

// The context on top of the stack, or none.
CGContextRef UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(CGContextRef context);
// Pops the top context; popping an empty stack does nothing.
void UIGraphicsPopContext();
