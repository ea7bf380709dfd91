// Conversion between PlistValue and libplist's nodes.
//
// Dates never pass through libplist's 32-bit date calls (see PlistDates.h): a node holds the
// index of its date in a table kept beside the tree, and the bytes carry the dates themselves.
#pragma once

#include "foundation/PlistValue.h"

#include <optional>
#include <plist/plist.h>
#include <vector>

// A new libplist node (the caller frees it); none values inside containers are left out. Each
// date becomes a node holding its index in `dates`, where its value is appended.
plist_t plistNodeFromValue(const PlistValue& value, std::vector<double>& dates);

// The value of a node whose dates hold indexes into `dates`; none when the tree goes past the
// nesting or node limits, or a date's index is not one of the table's.
std::optional<PlistValue> valueFromPlistNode(plist_t node, const std::vector<double>& dates);
