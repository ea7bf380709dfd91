// The Settings app: lists the panes installed in "/Library/PreferenceLoader/Preferences",
// loads a pane's bundle and its principal class by name, and keeps a stack of pages
// (push a detail page with its `specifier` set; back shows the page below again with
// viewWillAppear:).
//
// It is also how a test or the simulator uses Settings as a person would: find a row by the
// text it shows, tap it (a link pushes its page, a button runs its action), flip a switch,
// type into a text row, pick a segment, read what a row shows, and snapshot the page.
//
// As on a phone, `launch` opens it on its root list of the installed entries; `screenWindow` is
// the screen a person sees and touches (the navigation bar over the page's table, which scrolls),
// and `openPaneFromList` reaches a pane by touching its row there.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "foundation/NSIndexPath.h"
#include "objc/runtime.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct PSTableView;

class SettingsApp {
  public:
    // One entry of the loader folder: a plist with an "entry" dictionary.
    struct Entry {
        std::string label;  // the row text in the Settings list
        std::string bundle; // bundle name: /Library/PreferenceBundles/<bundle>.bundle
        std::string detail; // the controller class, when the entry names one
        std::string file;   // the entry's device path
        std::string icon;   // the device path of the icon, empty when the bundle has none
    };

    explicit SettingsApp(CGSize screenSize = {320, 568});
    ~SettingsApp();
    SettingsApp(const SettingsApp&) = delete;
    SettingsApp& operator=(const SettingsApp&) = delete;

    // The entries installed on the device, sorted by label.
    std::vector<Entry> entries() const { return installedEntries(); }
    static std::vector<Entry> installedEntries();
    // The device path of an entry's bundle: /Library/PreferenceBundles/<bundle>.bundle.
    static std::string bundlePathOf(const Entry& entry);

    // Opens Settings as a person does: its root list (titled "Settings") as the only page.
    id launch();
    // Whether the first page is the root list.
    bool showsRootList() const;
    // Shows the first page again (viewWillAppear: when it was covered); false when it shows.
    bool popToRoot();
    // Touches an entry's row on the root list through the screen, as a finger would (scrolling
    // it into sight first), which pushes the entry's page; launches Settings first when its
    // first page is not the root list, and goes back to that list when a page covers it.
    // Answers the page pushed, none when no row has the label or no page opened.
    id openPaneFromList(const std::string& label);

    // The screen as a phone shows it: a window of the screen's size with the navigation bar
    // (status bar room and title, back button) over the shown page's table, which fills the
    // rest and scrolls, kept where the person left it. Its rows act on a finger lifted on them
    // (as `touchRow`: a text row starts editing, see `editingRow`) and its back button pops.
    // Kept from call to call while it shows the same page with the same titles and the page's
    // table is still in it (a whole-page picture takes the table away); built anew otherwise.
    id screenWindow();
    // The text row a touch on the screen started editing (on the row or on its field); cleared
    // by the next touch on another row.
    std::optional<NSIndexPath> editingRow() const { return editingRow_; }
    // A text field of the shown page was touched: its row is being edited. False when no row
    // of the shown page has the field.
    bool beginEditing(const id& field);
    // The height of the navigation bar, status bar room included.
    static constexpr CGFloat kNavigationBarHeight = 64;
    // Opens an installed pane by its label: loads its bundle, creates its principal class
    // (or the entry's "detail" class) and shows it. None when anything is missing.
    id openPane(const std::string& label);
    // Loads the bundle at a device path and shows its principal class.
    id openBundle(const std::string& bundlePath);
    // Creates a page of a class through initForContentSize: and shows it.
    id openController(Class* cls, id bundle, id specifier = nullptr);

    id currentController() const;
    size_t depth() const { return stack_.size(); }
    // Shows the page below again (viewWillAppear:); false at the root. The navigation bar's back
    // button does this when a finger lifts on it.
    bool back();
    // The tag of the navigation bar's back button in the view `pageView` makes (a page above the
    // first has one): a control that sends its action on touch up inside, as a bar button does.
    static constexpr NSInteger kBackButtonTag = 4301;

    // Rows of the shown page, in table order, by the text each row shows.
    std::vector<std::string> rowLabels();
    std::optional<NSIndexPath> findRow(const std::string& label);
    // The cell shown for a row (none when the row is absent).
    id cellForRow(const std::string& label);
    // A person's actions; each is false when the row is absent, disabled, or of another kind.
    bool tapRow(const std::string& label);
    bool setSwitch(const std::string& label, bool on);
    bool typeText(const std::string& label, const std::string& text);
    bool pickSegment(const std::string& label, NSInteger index);
    bool moveSlider(const std::string& label, float value);
    // A finger lifted on a row at a point of its cell (cell coordinates), where no control of
    // the cell took the touch: a link or button row acts, a switch row flips, a segment row
    // picks the segment under the finger, a text row starts editing (its field answered).
    enum class RowTouch { Refused, Acted, Editing };
    RowTouch touchRow(const NSIndexPath& row, CGPoint inCell);
    // The row a cell of the shown page draws.
    std::optional<NSIndexPath> rowOfCell(const id& cell);
    // What a row shows.
    std::string rowText(const std::string& label); // the value or detail text
    bool rowEnabled(const std::string& label);
    id rowBackgroundColor(const std::string& label);
    // Draws the shown page (title bar and table) into a PNG file at a host path.
    bool snapshot(const std::string& pngPath);
    // The view drawing the shown page.
    id pageView();

  private:
    void show(id controller);
    bool tapRowAt(const NSIndexPath& row);
    id openBundleController(const std::string& bundlePath, const std::string& detail, id specifier);
    // The bar over the shown page, as wide as the screen.
    id navigationBar();
    std::string navigationTitles() const;
    // The screen window without a page, and with the shown page's table and bar.
    id plainScreenWindow();
    void buildScreenWindow(const id& controller, PSTableView& table);
    CGSize screen_;
    std::vector<id> stack_;
    id navigation_; // what the back button sends its action to: it calls back()
    std::optional<NSIndexPath> editingRow_;
    id fieldTarget_; // the screen's text fields tell it when a finger lifts on them
    // The scroll offsets of pages while a whole-page picture holds their tables.
    std::vector<std::pair<weak_id, CGPoint>> savedOffsets_;
    // The screen window last built, for the page with these titles.
    id shownWindow_;
    weak_id shownPage_;
    std::string shownTitles_;
    // Points at this app while it lives: a table's row handler holds it weakly.
    std::shared_ptr<SettingsApp*> alive_;
};
