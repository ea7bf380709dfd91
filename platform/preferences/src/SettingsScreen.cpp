// The Settings app as a phone shows it: opened on its root list, its screen (navigation bar over
// a scrolling table whose rows act on a finger), and a pane reached through its root list row.
#include "SettingsRootController.h"
#include "ViewKit.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSTableView.h"
#include "preferences/SettingsApp.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIWindow.h"

#include <algorithm>

namespace {
PSTableView* shownTableOf(const id& controller) {
    return dynamic_cast<PSTableView*>(msg<id>(controller, "table").get());
}

// The target of the screen's text fields: a finger lifted on a field starts editing its row.
struct PSScreenFieldTarget : NSObject {
    std::weak_ptr<SettingsApp*> app;
    void fieldTouched(id field) {
        if (auto alive = app.lock(); alive && *alive)
            (*alive)->beginEditing(field);
    }
};
const ClassDef<PSScreenFieldTarget>
    kPSScreenFieldTarget("PSScreenFieldTarget", "NSObject",
                         {
                             method("fieldTouched:", &PSScreenFieldTarget::fieldTouched),
                         });
} // namespace

bool SettingsApp::beginEditing(const id& field) {
    PSTableView* table = stack_.empty() ? nullptr : shownTableOf(stack_.back());
    if (!table || !field)
        return false;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s)
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            id cell = table->cellForRowAtIndexPath({s, r});
            if (dynamic_cast<PSEditableTableCell*>(cell.get()) && msg<id>(cell, "control") == field &&
                msg<bool>(cell, "cellEnabled")) {
                editingRow_ = NSIndexPath{s, r};
                return true;
            }
        }
    return false;
}

id SettingsApp::launch() {
    stack_.clear();
    editingRow_.reset();
    id root = msg<id>(classObject(objc_getClass(kSettingsRootControllerClass)), "alloc");
    root = msg<id>(root, "initForContentSize:", CGSize{screen_.width, screen_.height - kNavigationBarHeight});
    if (!root)
        return nullptr;
    msg(root, "setTitle:", "Settings");
    show(root);
    return root;
}

bool SettingsApp::showsRootList() const {
    return !stack_.empty() && isKindOfClass(stack_.front(), objc_getClass(kSettingsRootControllerClass));
}

bool SettingsApp::popToRoot() {
    if (stack_.size() <= 1)
        return false;
    stack_.resize(1);
    msg(stack_.back(), "viewWillAppear:", false);
    return true;
}

id SettingsApp::openPaneFromList(const std::string& label) {
    if (!showsRootList())
        launch();
    else
        popToRoot();
    const auto row = findRow(label);
    if (!row)
        return nullptr;
    id window = screenWindow();
    PSTableView* table = shownTableOf(stack_.back());
    id cell = table->cellForRowAtIndexPath(*row);
    // Out of sight, the row is first scrolled to the middle of the table.
    const CGRect rowFrame = msg<CGRect>(cell, "frame");
    const CGRect shown = table->bounds();
    if (CGRectGetMinY(rowFrame) < CGRectGetMinY(shown) || CGRectGetMaxY(rowFrame) > CGRectGetMaxY(shown))
        msg(table->self(), "setContentOffset:",
            table->clampedOffset({0, rowFrame.origin.y - (shown.size.height - rowFrame.size.height) / 2}));
    const CGRect cellBounds = msg<CGRect>(cell, "bounds");
    const CGPoint center = msg<CGPoint>(
        cell, "convertPoint:toView:", CGPoint{CGRectGetMidX(cellBounds), CGRectGetMidY(cellBounds)}, nullptr);
    const size_t before = depth();
    static_cast<UIWindow*>(window.get())->tap(center);
    return depth() > before ? currentController() : nullptr;
}

// The titles the navigation bar shows: the page's and the previous page's.
std::string SettingsApp::navigationTitles() const {
    std::string titles = msg<std::string>(stack_.back(), "title");
    if (stack_.size() > 1)
        titles += '\x1f' + msg<std::string>(stack_[stack_.size() - 2], "title");
    return titles;
}

id SettingsApp::screenWindow() {
    if (stack_.empty() || !shownTableOf(stack_.back()))
        return plainScreenWindow();
    id controller = stack_.back();
    PSTableView* table = shownTableOf(controller);
    // The window made last still shows this page as it is: it is kept, so what changes on it
    // is all a display draws again.
    const bool kept = shownWindow_ && shownPage_.lock() == controller && !table->sizesToContent &&
                      table->superview() == shownWindow_ && shownTitles_ == navigationTitles();
    if (!kept)
        buildScreenWindow(controller, *table);
    // Rows made since (a reload) have fields of their own to watch.
    for (NSInteger s = 0; s < table->numberOfSections(); ++s)
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r)
            if (id cell = table->cellForRowAtIndexPath({s, r});
                dynamic_cast<PSEditableTableCell*>(cell.get()))
                msg(msg<id>(cell, "control"), "addTarget:action:forControlEvents:", fieldTarget_,
                    SELECTOR("fieldTouched:"), UIControlEventTouchUpInside);
    return shownWindow_;
}

id SettingsApp::plainScreenWindow() {
    id window = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                        "initWithFrame:", CGRect{{0, 0}, screen_});
    msg(window, "setBackgroundColor:", ps::tableBackgroundColor());
    return window;
}

void SettingsApp::buildScreenWindow(const id& controller, PSTableView& tableView) {
    PSTableView* table = &tableView;
    id window = plainScreenWindow();
    CGPoint offset = table->contentOffset();
    if (table->sizesToContent) {
        // Back from a whole-page picture: the offset the screen left it at.
        offset = {0, 0};
        for (auto it = savedOffsets_.rbegin(); it != savedOffsets_.rend(); ++it)
            if (it->first.lock() == controller) {
                offset = it->second;
                break;
            }
    }
    savedOffsets_.erase(std::remove_if(savedOffsets_.begin(), savedOffsets_.end(),
                                       [&](const auto& saved) {
                                           id page = saved.first.lock();
                                           return !page || page == controller;
                                       }),
                        savedOffsets_.end());
    table->sizesToContent = false;
    msg(table->self(), "removeFromSuperview");
    msg(table->self(), "setFrame:",
        PSRect(0, kNavigationBarHeight, screen_.width,
               std::max<CGFloat>(0, screen_.height - kNavigationBarHeight)));
    msg(table->self(), "setClipsToBounds:", true);
    msg(table->self(), "setContentOffset:", table->clampedOffset(offset));
    std::weak_ptr<SettingsApp*> alive = alive_;
    table->rowTouched = [alive](NSIndexPath row, CGPoint inCell) {
        auto app = alive.lock();
        if (!app || !*app)
            return;
        const RowTouch touched = (*app)->touchRow(row, inCell);
        (*app)->editingRow_ = touched == RowTouch::Editing ? std::optional<NSIndexPath>(row) : std::nullopt;
    };
    if (!fieldTarget_) {
        auto target = alloc<PSScreenFieldTarget>();
        target->app = alive_;
        fieldTarget_ = target;
    }
    msg(window, "addSubview:", table->self());
    msg(window, "addSubview:", navigationBar());
    shownWindow_ = window;
    shownPage_ = controller;
    shownTitles_ = navigationTitles();
}
