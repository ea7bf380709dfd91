#include "SettingsRootController.h"

#include "preferences/PSSpecifier.h"
#include "preferences/SettingsApp.h"

std::vector<id> SettingsRootController::specifiers() {
    if (!_specifiers.empty())
        return _specifiers;
    id specifierClass = classObject(objc_getClass("PSSpecifier"));
    auto make = [&](const std::string& name, NSInteger cell) {
        return msg<id>(specifierClass, "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", name,
                       self(), SEL{}, SEL{}, static_cast<Class*>(nullptr), cell,
                       static_cast<Class*>(nullptr));
    };
    _specifiers.push_back(make("", PSGroupCell));
    for (const SettingsApp::Entry& entry : SettingsApp::installedEntries()) {
        id row = make(entry.label, PSLinkCell);
        msg(row, "setProperty:forKey:", PlistValue(SettingsApp::bundlePathOf(entry)), "lazy-bundle");
        if (!entry.detail.empty())
            msg(row, "setProperty:forKey:", PlistValue(entry.detail), "detail");
        if (!entry.icon.empty())
            msg(row, "setProperty:forKey:", PlistValue(entry.icon), "iconPath");
        _specifiers.push_back(row);
    }
    return _specifiers;
}

id SettingsRootController::tableViewCellForRowAtIndexPath(id table, NSIndexPath indexPath) {
    id cell = msgSuper<id>(this, classOf<SettingsRootController>(), "tableView:cellForRowAtIndexPath:", table,
                           indexPath);
    const PlistValue icon = msg<PlistValue>(msg<id>(cell, "specifier"), "propertyForKey:", "iconPath");
    if (cell && icon.isString()) {
        if (id image =
                msg<id>(classObject(objc_getClass("UIImage")), "imageWithContentsOfFile:", icon.asString())) {
            msg(msg<id>(cell, "imageView"), "setImage:", image);
            msg(cell, "setNeedsLayout");
            msg(cell, "layoutIfNeeded");
        }
    }
    return cell;
}

namespace {
const ClassDef<SettingsRootController> kSettingsRootController(
    kSettingsRootControllerClass, "PSListController",
    {
        method("specifiers", &SettingsRootController::specifiers),
        method("tableView:cellForRowAtIndexPath:", &SettingsRootController::tableViewCellForRowAtIndexPath),
    });
} // namespace
