// Property-list files (XML or binary) at device paths.
#pragma once

#include "foundation/PlistValue.h"

#include <memory>
#include <optional>
#include <string_view>

// The dictionary in the file; none when the file is missing, unreadable, outside the device
// root, not a regular file, or its root is not a dictionary. Every read is bounded: at most
// 1 MiB, 32 levels of nesting and 20,000 values (a shared binary object counted at each
// reference); past a limit the file reads as unreadable (src/PlistGuards.h says why).
std::optional<PlistDict> dictionaryWithContentsOfFile(std::string_view devicePath);
// The same dictionary, shared instead of copied, for files read far more often than written:
// kept from the last read while one fstat finds the file unchanged (src/PropertyListCache.cpp
// says how a change is noticed, a write from another process or tool included). Null where
// dictionaryWithContentsOfFile gives none.
std::shared_ptr<const PlistDict> sharedDictionaryWithContentsOfFile(std::string_view devicePath);
// The value in the file, whatever its root; none as above.
std::optional<PlistValue> propertyListWithContentsOfFile(std::string_view devicePath);

// Writes `dict` as an XML property list (writeDeviceFile in DeviceFiles.h: atomically, through a
// temporary file renamed over the old one, flushed to disk on a root that keeps its files).
// Returns false on any failure, leaving the old file as it was. Records a "file written" event
// (detail: the path), or a "file write failed" one (detail: "PATH: reason").
bool writeToFile(const PlistDict& dict, std::string_view devicePath, bool atomically);

// In-memory forms, for tests and tools. Dates keep their full range and microseconds in both
// formats (src/PlistDates.h).
std::optional<PlistValue> propertyListFromBytes(std::string_view bytes);
std::string propertyListToXML(const PlistValue& value);
std::string propertyListToBinary(const PlistValue& value);
