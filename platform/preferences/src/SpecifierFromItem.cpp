#include "SpecifierFromItem.h"

#include "preferences/PSSpecifier.h"

namespace {

NSInteger cellTypeOf(const PlistValue& cell) {
    if (cell.isString()) {
        NSInteger type = PSCellTypeFromString(cell.asString());
        return type < 0 ? PSGroupCell : type;
    }
    if (cell.isNumber())
        return cell.integerValue();
    return PSGroupCell;
}

bool isTextEntry(NSInteger type) {
    return type == PSEditTextCell || type == PSSecureEditTextCell || type == PSEditTextViewCell;
}

} // namespace

id PSSpecifierFromItem(const PlistValue& item, id target,
                       const std::function<std::string(const std::string&)>& localize) {
    if (!item.isDict())
        return nullptr;
    const PlistDict& d = item.asDict();
    const NSInteger type = cellTypeOf(valueForKey(d, "cell"));
    const PlistValue& key = valueForKey(d, "key");
    SEL set = nullptr, get = nullptr;
    if (key.isString()) {
        const PlistValue& setName = valueForKey(d, "set");
        const PlistValue& getName = valueForKey(d, "get");
        set = sel_registerName(setName.isString() ? setName.asString() : "setPreferenceValue:specifier:");
        get = sel_registerName(getName.isString() ? getName.asString() : "readPreferenceValue:");
    }
    const PlistValue& detail = valueForKey(d, "detail");
    Class* detailClass = detail.isString() ? objc_getClass(detail.asString()) : nullptr;
    // A list row without a page of its own pushes the list of its values.
    if (!detailClass && type == PSLinkListCell)
        detailClass = objc_getClass("PSListItemsController");
    const PlistValue& label = valueForKey(d, "label");
    std::string name = label.isString() ? localize(label.asString()) : std::string();

    Class* specifierClass = objc_getClass(isTextEntry(type) ? "PSTextFieldSpecifier" : "PSSpecifier");
    id specifier = msg<id>(classObject(specifierClass),
                           "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", name, target, set,
                           get, detailClass, type, static_cast<Class*>(nullptr));
    auto* s = static_cast<PSSpecifier*>(specifier.get());
    // Every entry of the item stays a property; shown texts in the user's language.
    PlistDict properties = d;
    for (const char* textKey : {"label", "footerText", "placeholder"}) {
        auto it = properties.find(textKey);
        if (it != properties.end() && it->second.isString())
            it->second = PlistValue(localize(it->second.asString()));
    }
    auto titles = properties.find("validTitles");
    if (titles != properties.end() && titles->second.isArray()) {
        for (PlistValue& title : titles->second.mutableArray()) {
            if (title.isString())
                title = PlistValue(localize(title.asString()));
        }
    }
    s->setProperties(std::move(properties));
    const PlistValue& action = valueForKey(d, "action");
    if (action.isString() && !action.asString().empty())
        s->setButtonAction(sel_registerName(action.asString()));
    const PlistValue& placeholder = valueForKey(s->properties_, "placeholder");
    if (auto* field = dynamic_cast<PSTextFieldSpecifier*>(s); field && placeholder.isString()) {
        field->setPlaceholder(placeholder.asString());
    }
    return specifier;
}
