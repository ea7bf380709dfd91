#include "preferences/PSListController.h"

#include "PreferenceDomain.h"
#include "SpecifierFromItem.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"
#include "preferences/PSTableView.h"

namespace {

constexpr CGFloat kDefaultRowHeight = 44.0;

std::string stringProperty(const PSSpecifier* s, const char* key) {
    const PlistValue& v = valueForKey(s->properties_, key);
    return v.isString() ? v.asString() : std::string();
}

} // namespace

PSSectionLayout PSSectionsOfSpecifiers(const std::vector<id>& specifiers) {
    std::vector<long> types;
    for (const id& row : specifiers)
        types.push_back(msg<NSInteger>(row, "cellType"));
    return PSSectionsFromCellTypes(types);
}

id PSListController::initForContentSize(CGSize size) {
    contentSize_ = size;
    return self();
}

std::vector<id> PSListController::specifiers() {
    return _specifiers;
}

void PSListController::setSpecifiers(std::vector<id> specifiers) {
    _specifiers = std::move(specifiers);
    reload();
}

std::vector<id> PSListController::loadSpecifiersFromPlistName(std::string name, id target) {
    std::vector<id> rows;
    const std::string path =
        bundle_ ? msg<std::string>(bundle_, "pathForResource:ofType:", name, "plist") : "";
    if (path.empty())
        return rows;
    auto list = dictionaryWithContentsOfFile(path);
    if (!list)
        return rows;
    // Texts of the list are looked up in the strings table of the same name.
    auto localize = [this, &name](const std::string& text) {
        return msg<std::string>(bundle_, "localizedStringForKey:value:table:", text, text, name);
    };
    const PlistValue& title = valueForKey(*list, "title");
    if (title_.empty() && title.isString())
        title_ = localize(title.asString());
    const PlistValue& items = valueForKey(*list, "items");
    for (const PlistValue& item : items.asArray()) {
        if (id specifier = PSSpecifierFromItem(item, target, localize))
            rows.push_back(std::move(specifier));
    }
    return rows;
}

id PSListController::specifierForID(std::string identifier) {
    // The cached rows only: a page may look its rows up while it builds them.
    for (const id& specifier : _specifiers) {
        if (const PSSpecifier* s = asSpecifier(specifier); s && s->identifier() == identifier)
            return specifier;
    }
    return nullptr;
}

void PSListController::reload() {
    if (table_)
        msg(table_, "reloadData");
}

void PSListController::reloadSpecifiers() {
    _specifiers.clear();
    cells_.clear();
    reload();
}

void PSListController::viewWillAppear(bool) {
    // As the framework's, appearing redraws nothing by itself: the host loads a page's table the
    // first time it shows, and a page that wants its rows drawn anew on every appearance calls
    // `reload` from its own viewWillAppear:.
}

void PSListController::reloadSpecifier(id specifier) {
    // The row's cell, if it was made, shows the specifier's current name and properties again.
    auto it = cells_.find(specifier.get());
    if (it == cells_.end())
        return;
    msg(it->second, "refreshCellContentsWithSpecifier:", specifier);
    msg(it->second, "layoutSubviews");
}

PlistValue PSListController::readPreferenceValue(id specifier) {
    const PSSpecifier* s = asSpecifier(specifier);
    if (!s)
        return {};
    const std::string domain = stringProperty(s, "defaults");
    const std::string key = stringProperty(s, "key");
    PlistValue value;
    if (!domain.empty() && !key.empty())
        value = PSReadPreference(domain, key);
    return value.isNone() ? s->propertyForKey("default") : value;
}

void PSListController::setPreferenceValue(PlistValue value, id specifier) {
    const PSSpecifier* s = asSpecifier(specifier);
    if (!s)
        return;
    const std::string domain = stringProperty(s, "defaults");
    const std::string key = stringProperty(s, "key");
    if (domain.empty() || key.empty())
        return;
    PSWritePreference(domain, key, value);
    const std::string notification = stringProperty(s, "PostNotification");
    if (!notification.empty()) {
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), notification,
                                             nullptr, nullptr, true);
    }
}

id PSListController::table() {
    if (!table_) {
        auto table = alloc<PSTableView>();
        table_ = table ? table->initWithController(self(), contentSize_.width > 0 ? contentSize_.width : 320)
                       : nullptr;
    }
    return table_;
}

id PSListController::specifierAtIndexPath(NSIndexPath indexPath) {
    std::vector<id> rows = msg<std::vector<id>>(self(), "specifiers");
    const long flat = PSSectionsOfSpecifiers(rows).flatIndex(indexPath.section, indexPath.row);
    return flat < 0 ? nullptr : rows[size_t(flat)];
}

NSIndexPath PSListController::indexPathForSpecifier(id specifier) {
    std::vector<id> rows = msg<std::vector<id>>(self(), "specifiers");
    const PSSectionLayout layout = PSSectionsOfSpecifiers(rows);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == specifier) {
            auto [section, row] = layout.position(long(i));
            return {section, row};
        }
    }
    return {-1, -1};
}

id PSListController::tableViewCellForRowAtIndexPath(id, NSIndexPath indexPath) {
    id specifier = specifierAtIndexPath(indexPath);
    PSSpecifier* s = asSpecifier(specifier);
    if (!s)
        return nullptr;
    // A row keeps its cell across reloads; a reload shows the row's current state in it.
    if (auto it = cells_.find(specifier.get()); it != cells_.end()) {
        msg(it->second, "refreshCellContentsWithSpecifier:", specifier);
        return it->second;
    }
    Class* cellClass = nullptr;
    if (const std::string name = stringProperty(s, "cellClass"); !name.empty())
        cellClass = objc_getClass(name);
    if (!cellClass)
        cellClass = PSTableCellClassForCellType(s->cellType());
    const std::string reuseIdentifier = PSCellTypeName(s->cellType());
    id cell = msg<id>(msg<id>(classObject(cellClass), "alloc"),
                      "initWithStyle:reuseIdentifier:specifier:", NSInteger{0}, reuseIdentifier, specifier);
    if (cell)
        cells_[specifier.get()] = cell;
    return cell;
}

CGFloat PSListController::tableViewHeightForRowAtIndexPath(id, NSIndexPath indexPath) {
    // A row may ask for its own height; every other row is 44 points.
    if (const PSSpecifier* s = asSpecifier(specifierAtIndexPath(indexPath))) {
        const PlistValue& height = valueForKey(s->properties_, "height");
        if (height.isNumber() && height.doubleValue() > 0)
            return height.doubleValue();
    }
    return kDefaultRowHeight;
}

namespace {

const ClassDef<PSListController> kPSListController(
    "PSListController", "NSObject",
    {
        method("initForContentSize:", &PSListController::initForContentSize),
        method("specifiers", &PSListController::specifiers),
        method("setSpecifiers:", &PSListController::setSpecifiers),
        method("loadSpecifiersFromPlistName:target:", &PSListController::loadSpecifiersFromPlistName),
        method("specifierForID:", &PSListController::specifierForID),
        method("reload", &PSListController::reload),
        method("reloadSpecifier:", &PSListController::reloadSpecifier),
        method("reloadSpecifiers", &PSListController::reloadSpecifiers),
        method("specifier", &PSListController::specifier),
        method("setSpecifier:", &PSListController::setSpecifier),
        method("title", &PSListController::title),
        method("setTitle:", &PSListController::setTitle),
        method("bundle", &PSListController::bundle),
        method("setBundle:", &PSListController::setBundle),
        method("parentController", &PSListController::parentController),
        method("setParentController:", &PSListController::setParentController),
        method("viewWillAppear:", &PSListController::viewWillAppear),
        method("readPreferenceValue:", &PSListController::readPreferenceValue),
        method("setPreferenceValue:specifier:", &PSListController::setPreferenceValue),
        method("table", &PSListController::table),
        method("tableView:cellForRowAtIndexPath:", &PSListController::tableViewCellForRowAtIndexPath),
        method("tableView:heightForRowAtIndexPath:", &PSListController::tableViewHeightForRowAtIndexPath),
        method("specifierAtIndexPath:", &PSListController::specifierAtIndexPath),
        method("indexPathForSpecifier:", &PSListController::indexPathForSpecifier),
        ivar("_specifiers", &PSListController::_specifiers),
    });

} // namespace
