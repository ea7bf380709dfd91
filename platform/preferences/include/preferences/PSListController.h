// A settings page: a table of rows built from specifiers.
//
// The host creates a page with initForContentSize:, asks it for `specifiers` (kept in
// `_specifiers` and asked for again only once that list is empty), and draws each row with
// tableView:cellForRowAtIndexPath: and tableView:heightForRowAtIndexPath:. Value rows are read
// and written through the row's target (readPreferenceValue:, setPreferenceValue:specifier:);
// the defaults of those two read and write the row's "defaults" domain file
// ("/var/mobile/Library/Preferences/<domain>.plist") and post its "PostNotification".
//
// Subclasses override any of these selectors with their own ClassDef entries; the host and the
// table always reach them through messages.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "foundation/NSIndexPath.h"
#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "preferences/PSSectionLayout.h"

#include <map>
#include <string>
#include <vector>

struct PSListController : NSObject {
    std::vector<id> _specifiers; // the cached rows
    id specifier_;               // the row that pushed this page
    id bundle_;                  // the NSBundle the page's resource lists come from
    std::string title_;
    CGSize contentSize_{};
    id table_; // the PSTableView drawing this page (created on demand)
    weak_id parentController_;
    std::map<const Object*, id> cells_; // one cell per row, kept across reloads

    id initForContentSize(CGSize size);
    std::vector<id> specifiers();
    void setSpecifiers(std::vector<id> specifiers);
    // The rows of resource list `name` (<bundle>/<name>.plist), in order, bound to `target`.
    std::vector<id> loadSpecifiersFromPlistName(std::string name, id target);
    id specifierForID(std::string identifier);
    // Draws every row again from its specifier's current name and properties.
    void reload();
    // Draws one row again, the same way.
    void reloadSpecifier(id specifier);
    // Forgets the cached rows and builds them again.
    void reloadSpecifiers();
    id specifier() const { return specifier_; }
    void setSpecifier(id specifier) { specifier_ = std::move(specifier); }
    std::string title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    id bundle() const { return bundle_; }
    void setBundle(id bundle) { bundle_ = std::move(bundle); }
    id parentController() const { return parentController_.lock(); }
    void setParentController(id parent) { parentController_ = parent; }
    // Draws nothing anew (the host loads the table on first show); pages that redraw call reload.
    void viewWillAppear(bool animated);
    PlistValue readPreferenceValue(id specifier);
    void setPreferenceValue(PlistValue value, id specifier);
    // The table drawing this page, created with the page's content size on first use.
    id table();
    id tableViewCellForRowAtIndexPath(id table, NSIndexPath indexPath);
    CGFloat tableViewHeightForRowAtIndexPath(id table, NSIndexPath indexPath);
    // The specifier at a table position, or none.
    id specifierAtIndexPath(NSIndexPath indexPath);
    // The table position of a specifier; {-1, -1} when it is not shown.
    NSIndexPath indexPathForSpecifier(id specifier);
};

// The sections of a list of specifiers (by their cell types).
PSSectionLayout PSSectionsOfSpecifiers(const std::vector<id>& specifiers);
