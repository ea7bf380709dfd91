#include "preferences/PSSpecifier.h"

id PSSpecifier::preferenceSpecifierNamed(Object* cls, std::string name, id target, SEL set, SEL get,
                                         Class* detail, NSInteger cell, Class* edit) {
    // Allocated as the receiving class, so PSTextFieldSpecifier's factory makes its own kind.
    auto specifier = cast<PSSpecifier>(msg<id>(msg<id>(cls, "alloc"), "init"));
    if (!specifier)
        return nullptr;
    specifier->name_ = std::move(name);
    specifier->target_ = target;
    specifier->setter_ = set;
    specifier->getter_ = get;
    specifier->detailControllerClass_ = detail;
    specifier->cellType_ = cell;
    specifier->editPaneClass_ = edit;
    return specifier;
}

std::string PSSpecifier::identifier() const {
    const PlistValue& id = valueForKey(properties_, "id");
    return id.isString() ? id.asString() : name_;
}

void PSSpecifier::setIdentifier(std::string identifier) {
    properties_["id"] = PlistValue(std::move(identifier));
}

PlistValue PSSpecifier::propertyForKey(std::string key) const {
    return valueForKey(properties_, key);
}

void PSSpecifier::setProperty(PlistValue value, std::string key) {
    if (value.isNone()) {
        properties_.erase(key); // setting nothing removes the property, as on the device
        return;
    }
    properties_[std::move(key)] = std::move(value);
}

void PSSpecifier::removePropertyForKey(std::string key) {
    properties_.erase(key);
}

namespace {

const ClassDef<PSSpecifier>
    kPSSpecifier("PSSpecifier", "NSObject",
                 {
                     classMethod("preferenceSpecifierNamed:target:set:get:detail:cell:edit:",
                                 &PSSpecifier::preferenceSpecifierNamed),
                     method("name", &PSSpecifier::name),
                     method("setName:", &PSSpecifier::setName),
                     method("identifier", &PSSpecifier::identifier),
                     method("setIdentifier:", &PSSpecifier::setIdentifier),
                     method("propertyForKey:", &PSSpecifier::propertyForKey),
                     method("setProperty:forKey:", &PSSpecifier::setProperty),
                     method("removePropertyForKey:", &PSSpecifier::removePropertyForKey),
                     method("properties", &PSSpecifier::properties),
                     method("setProperties:", &PSSpecifier::setProperties),
                     method("target", &PSSpecifier::target),
                     method("setTarget:", &PSSpecifier::setTarget),
                     method("cellType", &PSSpecifier::cellType),
                     method("setCellType:", &PSSpecifier::setCellType),
                     method("detailControllerClass", &PSSpecifier::detailControllerClass),
                     method("setDetailControllerClass:", &PSSpecifier::setDetailControllerClass),
                     method("editPaneClass", &PSSpecifier::editPaneClass),
                     method("buttonAction", &PSSpecifier::buttonAction),
                     method("setButtonAction:", &PSSpecifier::setButtonAction),
                 });

const ClassDef<PSTextFieldSpecifier>
    kPSTextFieldSpecifier("PSTextFieldSpecifier", "PSSpecifier",
                          {
                              method("setPlaceholder:", &PSTextFieldSpecifier::setPlaceholder),
                              method("placeholder", &PSTextFieldSpecifier::placeholder),
                          });

} // namespace
