#include "preferences/PSListItemsController.h"

#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"

namespace {

Class* const kNoClass = nullptr; // a bare nullptr would travel as an object

PlistValue currentValueOf(const PSSpecifier* row, const id& rowHandle) {
    id target = row->target();
    if (!target || !row->getter())
        return row->propertyForKey("default");
    return msg<PlistValue>(target, row->getter(), rowHandle);
}

} // namespace

std::vector<id> PSListItemsController::specifiers() {
    if (!_specifiers.empty())
        return _specifiers;
    auto* row = dynamic_cast<PSSpecifier*>(specifier_.get());
    if (!row)
        return _specifiers;
    if (title_.empty())
        title_ = row->name();
    const PlistValue current = currentValueOf(row, specifier_);
    const PlistArray& values = valueForKey(row->properties_, "validValues").asArray();
    _specifiers.push_back(msg<id>(classObject(classOf<PSSpecifier>()),
                                  "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", std::string(),
                                  self(), SEL{}, SEL{}, kNoClass, PSGroupCell, kNoClass));
    for (const PlistValue& value : values) {
        id item = msg<id>(classObject(classOf<PSSpecifier>()),
                          "preferenceSpecifierNamed:target:set:get:detail:cell:edit:",
                          PSTitleForValue(row->properties_, value), self(), SEL{}, SEL{}, kNoClass,
                          PSListItemCell, kNoClass);
        auto* s = static_cast<PSSpecifier*>(item.get());
        s->setProperty(value, "value");
        s->setProperty(
            PlistValue(PSIndexOfValue(row->properties_, value) == PSIndexOfValue(row->properties_, current)),
            "checked");
        s->setButtonAction(SELECTOR("listItemSelected:"));
        _specifiers.push_back(item);
    }
    return _specifiers;
}

void PSListItemsController::listItemSelected(id item) {
    auto* row = dynamic_cast<PSSpecifier*>(specifier_.get());
    auto* chosen = dynamic_cast<PSSpecifier*>(item.get());
    if (!row || !chosen)
        return;
    const PlistValue value = chosen->propertyForKey("value");
    if (id target = row->target(); target && row->setter())
        msg(target, row->setter(), value, specifier_);
    for (const id& other : _specifiers) {
        auto* s = static_cast<PSSpecifier*>(other.get());
        if (s->cellType() == PSListItemCell)
            s->setProperty(PlistValue(other == item), "checked");
    }
    reload();
    // The row below shows the chosen title when the person goes back.
    msg(parentController(), "reloadSpecifier:", specifier_);
}

namespace {
const ClassDef<PSListItemsController>
    kPSListItemsController("PSListItemsController", "PSListController",
                           {
                               method("specifiers", &PSListItemsController::specifiers),
                               method("listItemSelected:", &PSListItemsController::listItemSelected),
                           });
} // namespace
