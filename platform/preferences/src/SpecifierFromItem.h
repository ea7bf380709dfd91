// One item of a resource list ("items" entries: "cell", "label", "key", "id", "action",
// "detail", "cellClass", ...) turned into a specifier bound to a target.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"

#include <functional>
#include <string>

// `localize` turns a text of the list (labels, footers, segment titles) into the user's
// language. None when the item is not a dictionary.
id PSSpecifierFromItem(const PlistValue& item, id target,
                       const std::function<std::string(const std::string&)>& localize);
