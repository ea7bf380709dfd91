// The grouped table that draws a settings page: sections from group rows (their label heads
// the section, their "footerText" follows it), rows stacked with the heights and cells the
// page's controller gives (tableView:heightForRowAtIndexPath:, tableView:cellForRowAtIndexPath:).
// It is a table view, so a drag on it scrolls its rows: its content size is the stacked rows.
// A table that `sizesToContent` (a page pictured whole) is as tall as its content; one shown in
// a screen keeps the height it is given and scrolls.
//
// A finger on a row that no control of the row takes reaches the table: the row shows itself
// pressed (grey) while the finger is down, and when it lifts on the same row the table hands
// the row and the point in its cell to `rowTouched` (the Settings app's screen acts on it). A
// drag that becomes a scroll cancels the touch: the row acts on nothing.
#pragma once

#include "foundation/NSIndexPath.h"
#include "objc/runtime.h"
#include "preferences/PSSectionLayout.h"
#include "uikit/UIScrollView.h"

#include <functional>
#include <vector>

struct PSTableView : UITableView {
    weak_id controller_;
    std::vector<id> specifiers_; // the rows as last loaded
    PSSectionLayout layout_;
    std::vector<std::vector<id>> cells_; // per section, per row
    std::vector<id> decorations_;        // headers, footers and separators
    bool loaded_ = false;
    bool sizesToContent = true;
    std::function<void(NSIndexPath row, CGPoint inCell)> rowTouched;

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
    // The row a cell draws, {-1, -1} for none.
    NSIndexPath indexPathForCell(const id& cell) const;

    void touchesBeganWithEvent(std::vector<id> touches, id event);
    void touchesMovedWithEvent(std::vector<id>, id) {}
    void touchesEndedWithEvent(std::vector<id> touches, id event);
    void touchesCancelledWithEvent(std::vector<id> touches, id event);

  private:
    id cellAtTouch(const id& touch) const;
    void unpress();
    id pressedCell_;
    id pressedColor_; // the pressed cell's own background, given back when the finger lifts
};
