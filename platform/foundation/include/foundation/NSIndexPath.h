// A table position: section and row.
#pragma once

#include "objc/runtime.h"

struct NSIndexPath {
    NSInteger section = 0;
    NSInteger row = 0;
    bool operator==(const NSIndexPath& other) const = default;
};

namespace objc {
template <> struct TypeEncoding<NSIndexPath> { static constexpr const char* value = "{NSIndexPath=qq}"; };
} // namespace objc
