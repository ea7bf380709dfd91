// Conversion between PlistValue and libplist's nodes.
#pragma once

#include "foundation/PlistValue.h"

#include <plist/plist.h>

// A new libplist node (the caller frees it); none values inside containers are left out.
plist_t plistNodeFromValue(const PlistValue& value);
PlistValue valueFromPlistNode(plist_t node);
