// The settings file of a preference domain: "/var/mobile/Library/Preferences/<domain>.plist".
// What a row without its own reader and writer reads and writes.
#pragma once

#include "foundation/PlistValue.h"

#include <string>

std::string PSPreferenceDomainPath(const std::string& domain);
// The value under `key`, or none when the file or the key is missing.
PlistValue PSReadPreference(const std::string& domain, const std::string& key);
// Rereads the file (empty when missing), stores `value` under `key` (none removes it) and
// writes the file back whole, atomically. False when the write failed.
bool PSWritePreference(const std::string& domain, const std::string& key, const PlistValue& value);
