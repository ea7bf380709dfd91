#include "coregraphics/UIGraphics.h"

#include <vector>

namespace {
std::vector<CGContextRef>& contextStack() {
    static thread_local std::vector<CGContextRef> stack;
    return stack;
}
} // namespace

CGContextRef UIGraphicsGetCurrentContext() {
    auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back();
}

void UIGraphicsPushContext(CGContextRef context) {
    contextStack().push_back(context);
}

void UIGraphicsPopContext() {
    auto& stack = contextStack();
    if (!stack.empty())
        stack.pop_back();
}
