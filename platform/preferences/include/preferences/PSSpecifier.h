// One row of a settings page: its name, the object that reads and writes its value (held
// weakly), the getter and setter selectors sent to that object, the page a link row pushes,
// its cell type, and a dictionary of properties ("key", "default", "enabled", ...).
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "preferences/PSCellTypes.h"

#include <string>

struct PSSpecifier : NSObject {
    std::string name_;
    weak_id target_;
    SEL setter_ = nullptr;
    SEL getter_ = nullptr;
    SEL action_ = nullptr; // a button row's action, sent to the target
    Class* detailControllerClass_ = nullptr;
    Class* editPaneClass_ = nullptr;
    NSInteger cellType_ = PSGroupCell;
    PlistDict properties_;

    // +preferenceSpecifierNamed:target:set:get:detail:cell:edit:
    static id preferenceSpecifierNamed(Object* cls, std::string name, id target, SEL set, SEL get,
                                       Class* detail, NSInteger cell, Class* edit);

    std::string name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    // The "id" property when it is a string, else the name.
    std::string identifier() const;
    void setIdentifier(std::string identifier);
    PlistValue propertyForKey(std::string key) const;
    void setProperty(PlistValue value, std::string key);
    void removePropertyForKey(std::string key);
    PlistDict properties() const { return properties_; }
    void setProperties(PlistDict properties) { properties_ = std::move(properties); }
    id target() const { return target_.lock(); }
    void setTarget(id target) { target_ = target; }
    NSInteger cellType() const { return cellType_; }
    void setCellType(NSInteger type) { cellType_ = type; }
    Class* detailControllerClass() const { return detailControllerClass_; }
    void setDetailControllerClass(Class* cls) { detailControllerClass_ = cls; }
    Class* editPaneClass() const { return editPaneClass_; }
    SEL setter() const { return setter_; }
    SEL getter() const { return getter_; }
    void setSetterGetter(SEL set, SEL get) {
        setter_ = set;
        getter_ = get;
    }
    SEL buttonAction() const { return action_; }
    void setButtonAction(SEL action) { action_ = action; }
};

// The specifier an object is, or null.
inline PSSpecifier* asSpecifier(const id& object) {
    return dynamic_cast<PSSpecifier*>(object.get());
}

// A text-entry row; its placeholder shows while the field is empty.
struct PSTextFieldSpecifier : PSSpecifier {
    std::string placeholder_;
    void setPlaceholder(std::string placeholder) { placeholder_ = std::move(placeholder); }
    std::string placeholder() const { return placeholder_; }
};
