// The settings a first open of the root page writes: a file without "buttonColor" gets
// "buttonColor" "#FF0000", "buttonText" "Hushmark", "preferColorPicker" true and
// "colorPickerType" 0, each only where it is absent, so a value the user already has stays.
#pragma once

#include "foundation/PlistValue.h"

// Seeds `settings` when it has no "buttonColor"; true when it did (the file is then written).
bool seedFirstUse(PlistDict& settings);
