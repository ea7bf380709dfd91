// Property-list files (XML or binary) at device paths.
#pragma once

#include "foundation/PlistValue.h"

#include <optional>
#include <string_view>

// The dictionary in the file; none when the file is missing, unreadable, outside the device
// root, or its root is not a dictionary.
std::optional<PlistDict> dictionaryWithContentsOfFile(std::string_view devicePath);
// The value in the file, whatever its root; none as above.
std::optional<PlistValue> propertyListWithContentsOfFile(std::string_view devicePath);

// Writes `dict` as an XML property list. Atomically: to a temporary file in the same folder,
// flushed to disk, then renamed over the old file, so readers see the old file or the new one.
// Returns false on any failure, leaving the old file as it was. Records a "file written" event.
bool writeToFile(const PlistDict& dict, std::string_view devicePath, bool atomically);

// In-memory forms, for tests and tools.
std::optional<PlistValue> propertyListFromBytes(std::string_view bytes);
std::string propertyListToXML(const PlistValue& value);
std::string propertyListToBinary(const PlistValue& value);
