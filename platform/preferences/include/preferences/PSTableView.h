// The grouped table that draws a settings page: sections from group rows (their label heads
// the section, their "footerText" follows it), rows stacked with the heights and cells the
// page's controller gives (tableView:heightForRowAtIndexPath:, tableView:cellForRowAtIndexPath:).
#pragma once

#include "foundation/NSIndexPath.h"
#include "objc/runtime.h"
#include "preferences/PSSectionLayout.h"
#include "uikit/UIView.h"

#include <vector>

struct PSTableView : UIView {
    weak_id controller_;
    std::vector<id> specifiers_; // the rows as last loaded
    PSSectionLayout layout_;
    std::vector<std::vector<id>> cells_; // per section, per row
    std::vector<id> decorations_;        // headers, footers and separators
    bool loaded_ = false;

    id initWithController(id controller, CGFloat width);
    // Asks the controller for its rows again and draws every one anew.
    void reloadData();
    bool hasLoaded() const { return loaded_; }
    NSInteger numberOfSections() const { return NSInteger(layout_.sections.size()); }
    NSInteger numberOfRowsInSection(NSInteger section) const;
    // The specifier at a position, or none.
    id specifierAtIndexPath(NSIndexPath indexPath) const;
    NSIndexPath indexPathForSpecifier(id specifier) const;
    // The cell drawn at a position, or none.
    id cellForRowAtIndexPath(NSIndexPath indexPath) const;
};
