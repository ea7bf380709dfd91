#include "preferences/SettingsApp.h"

#include "ViewKit.h"
#include "foundation/DeviceFiles.h"
#include "foundation/PropertyList.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"
#include "preferences/PSTableView.h"
#include "PSSegmentView.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UISnapshot.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kLoaderFolder = "/Library/PreferenceLoader/Preferences";
constexpr CGFloat kBackButtonRoom = 70; // the least room beside the title
constexpr CGFloat kBarMargin = 8;

PSTableView* tableOf(const id& controller) {
    return dynamic_cast<PSTableView*>(msg<id>(controller, "table").get());
}

std::string entryText(const PlistDict& entry, const char* key) {
    const PlistValue& v = valueForKey(entry, key);
    return v.isString() ? v.asString() : std::string();
}

// The back button's target: it shows the page below, as a navigation controller pops its top
// page when its bar's back button is tapped.
struct PSNavigationBack : NSObject {
    SettingsApp* app = nullptr;
    void popPage() {
        if (app)
            app->back();
    }
};
const ClassDef<PSNavigationBack> kPSNavigationBack("PSNavigationBack", "NSObject",
                                                   {
                                                       method("popPage", &PSNavigationBack::popPage),
                                                   });

} // namespace

SettingsApp::SettingsApp(CGSize screenSize)
    : screen_(screenSize), alive_(std::make_shared<SettingsApp*>(this)) {
    auto navigation = alloc<PSNavigationBack>();
    navigation->app = this;
    navigation_ = navigation;
}

SettingsApp::~SettingsApp() {
    static_cast<PSNavigationBack*>(navigation_.get())->app = nullptr;
    *alive_ = nullptr;
}

std::string SettingsApp::bundlePathOf(const Entry& entry) {
    return "/Library/PreferenceBundles/" + entry.bundle + ".bundle";
}

std::vector<SettingsApp::Entry> SettingsApp::installedEntries() {
    std::vector<Entry> found;
    for (const std::string& name : contentsOfDeviceDirectory(kLoaderFolder)) {
        if (std::filesystem::path(name).extension() != ".plist")
            continue;
        std::string devicePath = kLoaderFolder;
        devicePath += '/';
        devicePath += name;
        auto list = dictionaryWithContentsOfFile(devicePath);
        if (!list)
            continue;
        const PlistDict& entry = valueForKey(*list, "entry").asDict();
        Entry e{entryText(entry, "label"), entryText(entry, "bundle"), entryText(entry, "detail"), devicePath,
                ""};
        if (e.label.empty() || e.bundle.empty())
            continue;
        // The entry's icon file in its bundle, else the bundle's "icon.png", when it reads.
        std::string icon = entryText(entry, "icon");
        icon = bundlePathOf(e) + "/" + (icon.empty() ? "icon.png" : icon);
        if (msg<id>(classObject(objc_getClass("UIImage")), "imageWithContentsOfFile:", icon))
            e.icon = icon;
        found.push_back(std::move(e));
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) { return a.label < b.label; });
    return found;
}

id SettingsApp::openBundleController(const std::string& bundlePath, const std::string& detail, id specifier) {
    id bundle = msg<id>(classObject(objc_getClass("NSBundle")), "bundleWithPath:", bundlePath);
    if (!bundle || !msg<bool>(bundle, "load"))
        return nullptr;
    Class* cls = detail.empty() ? msg<Class*>(bundle, "principalClass") : objc_getClass(detail);
    return cls ? openController(cls, bundle, specifier) : nullptr;
}

id SettingsApp::openPane(const std::string& label) {
    for (const Entry& entry : entries()) {
        if (entry.label == label)
            return openBundleController(bundlePathOf(entry), entry.detail, nullptr);
    }
    return nullptr;
}

id SettingsApp::openBundle(const std::string& bundlePath) {
    id bundle = msg<id>(classObject(objc_getClass("NSBundle")), "bundleWithPath:", bundlePath);
    Class* cls = bundle ? msg<Class*>(bundle, "principalClass") : nullptr;
    return cls ? openController(cls, bundle) : nullptr;
}

id SettingsApp::openController(Class* cls, id bundle, id specifier) {
    if (!cls)
        return nullptr;
    id controller = msg<id>(classObject(cls), "alloc");
    // The page's resource lists come from its bundle, known before it initializes.
    msg(controller, "setBundle:", bundle);
    controller = msg<id>(controller,
                         "initForContentSize:", CGSize{screen_.width, screen_.height - kNavigationBarHeight});
    if (!controller)
        return nullptr;
    if (specifier)
        msg(controller, "setSpecifier:", specifier);
    if (!stack_.empty())
        msg(controller, "setParentController:", stack_.back());
    show(controller);
    return controller;
}

void SettingsApp::show(id controller) {
    stack_.push_back(controller);
    msg(controller, "viewWillAppear:", false);
    if (PSTableView* table = tableOf(controller); table && !table->hasLoaded())
        table->reloadData();
}

id SettingsApp::currentController() const {
    return stack_.empty() ? nullptr : stack_.back();
}

bool SettingsApp::back() {
    if (stack_.size() <= 1)
        return false;
    stack_.pop_back();
    msg(stack_.back(), "viewWillAppear:", false);
    return true;
}

std::vector<std::string> SettingsApp::rowLabels() {
    std::vector<std::string> labels;
    PSTableView* table = stack_.empty() ? nullptr : tableOf(stack_.back());
    if (!table)
        return labels;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
            labels.push_back(
                msg<std::string>(msg<id>(table->cellForRowAtIndexPath({s, r}), "textLabel"), "text"));
        }
    }
    return labels;
}

std::optional<NSIndexPath> SettingsApp::findRow(const std::string& label) {
    PSTableView* table = stack_.empty() ? nullptr : tableOf(stack_.back());
    if (!table)
        return std::nullopt;
    // By the text a row shows first; a row without one is found by its identifier.
    for (bool byIdentifier : {false, true}) {
        for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
            for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r) {
                const std::string text =
                    byIdentifier ? msg<std::string>(table->specifierAtIndexPath({s, r}), "identifier")
                                 : msg<std::string>(
                                       msg<id>(table->cellForRowAtIndexPath({s, r}), "textLabel"), "text");
                if (text == label)
                    return NSIndexPath{s, r};
            }
        }
    }
    return std::nullopt;
}

id SettingsApp::cellForRow(const std::string& label) {
    auto path = findRow(label);
    return path ? tableOf(stack_.back())->cellForRowAtIndexPath(*path) : nullptr;
}

bool SettingsApp::tapRow(const std::string& label) {
    auto path = findRow(label);
    return path && tapRowAt(*path);
}

std::optional<NSIndexPath> SettingsApp::rowOfCell(const id& cell) {
    PSTableView* table = stack_.empty() ? nullptr : tableOf(stack_.back());
    if (!table || !cell)
        return std::nullopt;
    for (NSInteger s = 0; s < table->numberOfSections(); ++s)
        for (NSInteger r = 0; r < table->numberOfRowsInSection(s); ++r)
            if (table->cellForRowAtIndexPath({s, r}) == cell)
                return NSIndexPath{s, r};
    return std::nullopt;
}

SettingsApp::RowTouch SettingsApp::touchRow(const NSIndexPath& row, CGPoint inCell) {
    PSTableView* table = stack_.empty() ? nullptr : tableOf(stack_.back());
    id cell = table ? table->cellForRowAtIndexPath(row) : nullptr;
    if (!cell || !msg<bool>(cell, "cellEnabled"))
        return RowTouch::Refused;
    if (dynamic_cast<PSEditableTableCell*>(cell.get()))
        return RowTouch::Editing;
    if (auto* segments = dynamic_cast<PSSegmentTableCell*>(cell.get())) {
        id control = segments->control();
        for (NSInteger i = 0; i < NSInteger(cast<PSSegmentView>(control)->segments_.size()); ++i) {
            const id& segment = cast<PSSegmentView>(control)->segments_[size_t(i)];
            const CGPoint p = static_cast<UIView*>(cell.get())->convertPointToView(inCell, segment);
            if (CGRectContainsPoint(msg<CGRect>(segment, "bounds"), p))
                return segments->userPickedSegment(i) ? RowTouch::Acted : RowTouch::Refused;
        }
        return RowTouch::Refused;
    }
    return tapRowAt(row) ? RowTouch::Acted : RowTouch::Refused;
}

bool SettingsApp::tapRowAt(const NSIndexPath& row) {
    PSTableView* table = stack_.empty() ? nullptr : tableOf(stack_.back());
    id cell = table ? table->cellForRowAtIndexPath(row) : nullptr;
    auto* tableCell = dynamic_cast<PSTableCell*>(cell.get());
    if (!tableCell || !msg<bool>(cell, "cellEnabled"))
        return false;
    id specifier = msg<id>(cell, "specifier");
    auto* s = dynamic_cast<PSSpecifier*>(specifier.get());
    if (!s)
        return false;
    switch (s->cellType()) {
    case PSLinkCell:
    case PSLinkListCell: {
        Class* detail = s->detailControllerClass();
        // A root list row loads its entry's bundle when tapped.
        if (const PlistValue lazy = s->propertyForKey("lazy-bundle"); !detail && lazy.isString()) {
            const PlistValue name = s->propertyForKey("detail");
            return openBundleController(lazy.asString(), name.isString() ? name.asString() : "", specifier) !=
                   nullptr;
        }
        if (!detail)
            return false;
        return openController(detail, msg<id>(stack_.back(), "bundle"), specifier) != nullptr;
    }
    case PSButtonCell:
    case PSListItemCell: {
        id target = s->target();
        SEL action = s->buttonAction();
        if (!target || !action)
            return false;
        // An action naming an argument gets the row's specifier.
        if (std::string(sel_getName(action)).find(':') != std::string::npos)
            msg(target, action, specifier);
        else
            msg(target, action);
        return true;
    }
    case PSSwitchCell:
        if (auto* sw = dynamic_cast<PSSwitchTableCell*>(tableCell))
            return sw->userSetOn(!msg<bool>(sw->control(), "isOn"));
        return false;
    default:
        return false;
    }
}

bool SettingsApp::setSwitch(const std::string& label, bool on) {
    auto* cell = dynamic_cast<PSSwitchTableCell*>(cellForRow(label).get());
    return cell && cell->userSetOn(on);
}

bool SettingsApp::typeText(const std::string& label, const std::string& text) {
    auto* cell = dynamic_cast<PSEditableTableCell*>(cellForRow(label).get());
    return cell && cell->userEnteredText(text);
}

bool SettingsApp::pickSegment(const std::string& label, NSInteger index) {
    auto* cell = dynamic_cast<PSSegmentTableCell*>(cellForRow(label).get());
    return cell && cell->userPickedSegment(index);
}

bool SettingsApp::moveSlider(const std::string& label, float value) {
    auto* cell = dynamic_cast<PSSliderTableCell*>(cellForRow(label).get());
    return cell && cell->userMovedSlider(value);
}

std::string SettingsApp::rowText(const std::string& label) {
    id cell = cellForRow(label);
    if (!cell)
        return {};
    if (auto* field = dynamic_cast<PSEditableTableCell*>(cell.get()))
        return field->shownText();
    if (dynamic_cast<PSSwitchTableCell*>(cell.get()))
        return msg<bool>(msg<id>(cell, "control"), "isOn") ? "on" : "off";
    if (dynamic_cast<PSSegmentTableCell*>(cell.get())) {
        id segments = msg<id>(cell, "control");
        return msg<std::string>(segments,
                                "titleForSegmentAtIndex:", msg<NSInteger>(segments, "selectedSegmentIndex"));
    }
    const std::string detail = msg<std::string>(msg<id>(cell, "detailTextLabel"), "text");
    return detail.empty() ? msg<std::string>(msg<id>(cell, "textLabel"), "text") : detail;
}

bool SettingsApp::rowEnabled(const std::string& label) {
    return msg<bool>(cellForRow(label), "cellEnabled");
}

id SettingsApp::rowBackgroundColor(const std::string& label) {
    return msg<id>(cellForRow(label), "backgroundColor");
}

id SettingsApp::navigationBar() {
    id controller = stack_.back();
    id bar = PSMakeView("UIView", PSRect(0, 0, screen_.width, kNavigationBarHeight));
    msg(bar, "setBackgroundColor:", PSColor(0.97, 0.97, 0.97));
    // The title centered as wide as its text (at most the bar less 70 points each side); the
    // back button left of it, as wide as the previous page's title, or "Back" when that does
    // not fit before the title.
    const std::string title = msg<std::string>(controller, "title");
    const CGFloat titleWidth = std::min(PSTextWidth(title), screen_.width - 2 * kBackButtonRoom);
    msg(bar, "addSubview:",
        PSMakeLabel(PSRect((screen_.width - titleWidth) / 2, 20, titleWidth, 44), title, PSColor(0, 0, 0),
                    1));
    if (stack_.size() > 1) {
        const std::string previous = msg<std::string>(stack_[stack_.size() - 2], "title");
        const CGFloat room = (screen_.width - titleWidth) / 2 - 2 * kBarMargin;
        std::string back = "\u2039 " + (previous.empty() ? "Back" : previous);
        if (PSTextWidth(back) > room)
            back = "\u2039 Back";
        const CGFloat width = std::min(PSTextWidth(back), room);
        id button = PSMakeView("UIControl", PSRect(kBarMargin, 20, width, 44));
        msg(button, "setTag:", kBackButtonTag);
        msg(button, "addTarget:action:forControlEvents:", navigation_, SELECTOR("popPage"),
            UIControlEventTouchUpInside);
        msg(button, "addSubview:", PSMakeLabel(PSRect(0, 0, width, 44), back, ps::tintColor()));
        msg(bar, "addSubview:", button);
    }
    id line = PSMakeView("UIView", PSRect(0, kNavigationBarHeight - 0.5, screen_.width, 0.5));
    msg(line, "setBackgroundColor:", ps::separatorColor());
    msg(bar, "addSubview:", line);
    return bar;
}

id SettingsApp::pageView() {
    if (stack_.empty())
        return nullptr;
    id controller = stack_.back();
    id table = msg<id>(controller, "table");
    // The whole page at once: the table as tall as its rows, unscrolled, nothing cut. Where the
    // screen had it scrolled is kept for the screen.
    PSTableView* shown = tableOf(controller);
    if (!shown->sizesToContent)
        savedOffsets_.emplace_back(controller, shown->contentOffset());
    shown->sizesToContent = true;
    shown->rowTouched = nullptr;
    msg(table, "setContentOffset:", CGPoint{0, 0});
    msg(table, "setClipsToBounds:", false);
    const CGFloat tableHeight = msg<CGSize>(table, "contentSize").height;
    const CGFloat height = std::max(screen_.height, kNavigationBarHeight + tableHeight);
    id page = PSMakeView("UIView", PSRect(0, 0, screen_.width, height));
    msg(page, "setBackgroundColor:", ps::tableBackgroundColor());
    msg(table, "removeFromSuperview");
    msg(table, "setFrame:", PSRect(0, kNavigationBarHeight, screen_.width, tableHeight));
    msg(page, "addSubview:", table);
    msg(page, "addSubview:", navigationBar());
    // A page is as long as what it shows: a row whose content runs past its height (a long
    // help text) is pictured whole, not cut at the table's end.
    const CGRect drawn = UISnapshotDrawnRect(page);
    if (CGRectGetMaxY(drawn) > height)
        msg(page, "setFrame:", PSRect(0, 0, screen_.width, std::ceil(CGRectGetMaxY(drawn))));
    return page;
}

bool SettingsApp::snapshot(const std::string& pngPath) {
    id page = pageView();
    return page && UISnapshotWriteView(page, pngPath, 2.0);
}
