#include "pane/HushmarkColorSelectorController.h"

#include "pane/HushmarkSettingsFile.h"
#include "pane/PaneState.h"

namespace {

constexpr CGFloat kColorRowHeight = 860.0; // room for the color cell: its help text starts at 685

} // namespace

id HushmarkColorSelectorController::initForContentSize(CGSize size) {
    id me = msgSuper<id>(this, classOf<HushmarkColorSelectorController>(), "initForContentSize:", size);
    if (!me)
        return nullptr;
    // The page's own copy of the file, process-wide like the root list's but apart from it,
    // replaced whole by each new page.
    paneState().selectorSettings = loadHushmarkSettings();
    return me;
}

void HushmarkColorSelectorController::setPreferenceValueSpecifier(PlistValue /*value*/, id /*specifier*/) {
    // The color cell writes the file and posts the notification itself.
}

PlistValue HushmarkColorSelectorController::readPreferenceValue(id /*specifier*/) {
    return {};
}

std::vector<id> HushmarkColorSelectorController::specifiers() {
    if (!_specifiers.empty())
        return _specifiers;
    const id me = self();
    _specifiers = msg<std::vector<id>>(
        me, "loadSpecifiersFromPlistName:target:", std::string("HushmarkColorSelector"), me);
    if (_specifiers.empty())
        return _specifiers;

    // The key travels only through the pushing row's "title", so this page edits whatever key
    // that row names.
    const id colorRow = _specifiers.front();
    const PlistValue title =
        msg<PlistValue>(msg<id>(me, "specifier"), "propertyForKey:", std::string("title"));
    msg(colorRow, "setProperty:forKey:", title, std::string("key"));
    const PlistDict& settings = paneState().selectorSettings;
    const auto prefer = settings.find("preferColorPicker");
    msg(colorRow, "setProperty:forKey:", prefer != settings.end() ? prefer->second : PlistValue(true),
        std::string("preferColorPicker"));
    msg(me, "setTitle:", title.isString() ? title.asString() : std::string());
    return _specifiers;
}

CGFloat HushmarkColorSelectorController::tableViewHeightForRowAtIndexPath(id /*table*/,
                                                                          NSIndexPath /*indexPath*/) {
    return kColorRowHeight;
}

static const ClassDef<HushmarkColorSelectorController> kHushmarkColorSelectorController(
    "HushmarkColorSelectorController", "PSListController",
    {
        method("initForContentSize:", &HushmarkColorSelectorController::initForContentSize),
        method("setPreferenceValue:specifier:",
               &HushmarkColorSelectorController::setPreferenceValueSpecifier),
        method("readPreferenceValue:", &HushmarkColorSelectorController::readPreferenceValue),
        method("specifiers", &HushmarkColorSelectorController::specifiers),
        method("tableView:heightForRowAtIndexPath:",
               &HushmarkColorSelectorController::tableViewHeightForRowAtIndexPath),
    });
