// The Settings app's first page: one link row for each entry installed in
// "/Library/PreferenceLoader/Preferences", sorted by label, under a plain group. A row shows the
// entry's icon when its bundle has one (the entry's "icon" file in the bundle, else the bundle's
// "icon.png"); a tap loads the entry's bundle lazily and pushes its page ("lazy-bundle" and
// "detail" properties of the row).
#pragma once

#include "preferences/PSListController.h"

struct SettingsRootController : PSListController {
    std::vector<id> specifiers();
    id tableViewCellForRowAtIndexPath(id table, NSIndexPath indexPath);
};

inline constexpr const char* kSettingsRootControllerClass = "PrefsRootListController";
