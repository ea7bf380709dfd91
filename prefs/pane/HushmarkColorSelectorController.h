// HushmarkColorSelectorController: the page that the root list's "Button Color" row pushes.
//
// It shows one tall row, the color cell, and tells that cell which settings key it edits (the
// pushing row's "title") and whether its picker goes above the channel rows (the settings
// file's "preferColorPicker", true when absent). The cell reads and saves the value itself, so
// the page's own value calls do nothing.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "foundation/NSIndexPath.h"
#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "preferences/PSListController.h"

#include <vector>

struct HushmarkColorSelectorController : PSListController {
    id initForContentSize(CGSize size);
    void setPreferenceValueSpecifier(PlistValue value, id specifier);
    PlistValue readPreferenceValue(id specifier);
    std::vector<id> specifiers();
    CGFloat tableViewHeightForRowAtIndexPath(id table, NSIndexPath indexPath);
};
