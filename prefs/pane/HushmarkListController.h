// The root page of Hushmark's settings: the rows of resource list "Hushmark", a live status row
// ("Alarms Enabled" or "Hushmarked Until: <deadline>"), and the alert button's color and text.
// Every change is written to the settings file at once and announced to the tweak.
#pragma once

#include "foundation/PlistValue.h"
#include "preferences/PSListController.h"

// Every root page of the process shares one copy of the settings file and the status row of
// the newest list: `listSettings` and `statusSpecifier` of the pane's state (pane/PaneState.h).

struct HushmarkListController : PSListController {
    void hushmarkNow();
    void clearHushmark();
    id initForContentSize(CGSize size);
    void viewWillAppear(bool animated);
    void setPreferenceValue(PlistValue value, id specifier);
    PlistValue readPreferenceValue(id specifier);
    std::vector<id> specifiers();
    id tableViewCellForRowAtIndexPath(id table, NSIndexPath indexPath);
};
