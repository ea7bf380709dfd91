// The root class: creation, identity, introspection and key-value coding.
#include "objc/runtime.h"

#include <cstdio>
#include <cstdlib>

namespace {

id allocInstance(Object* classObj) {
    auto* cls = static_cast<Class*>(classObj);
    for (Class* c = cls; c; c = c->superclass()) {
        if (c->factory) {
            id instance = c->factory();
            instance->isa = cls;
            return instance;
        }
    }
    return nullptr;
}

std::string capitalized(const std::string& key) {
    std::string s = key;
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = char(s[0] - 'a' + 'A');
    return s;
}

const Ivar* objectIvarForKey(const Object* o, const std::string& key) {
    for (const std::string& name : {"_" + key, key}) {
        const Ivar* v = class_getInstanceVariable(o->isa, name);
        if (v && v->type == typeid(id))
            return v;
    }
    return nullptr;
}

[[noreturn]] void notCompliant(const Object* o, const std::string& key) {
    std::fprintf(stderr,
                 "[<%s %p> setValue:forKey:]: this class is not key value coding-compliant for the key %s\n",
                 o->isa->name.c_str(), static_cast<const void*>(o), key.c_str());
    std::abort();
}

void setValueForKey(Object* self, id value, std::string key) {
    const Method* setter = self->isa->lookup(sel_registerName("set" + capitalized(key) + ":"));
    if (setter && setter->imp.signature == typeid(void(id))) {
        callImp(setter->imp, self, std::move(value));
        return;
    }
    if (const Ivar* v = objectIvarForKey(self, key)) {
        object_setIvar(self, v, std::move(value));
        return;
    }
    notCompliant(self, key);
}

id valueForKey(Object* self, std::string key) {
    const Method* getter = self->isa->lookup(sel_registerName(key));
    if (getter && getter->imp.signature == typeid(id()))
        return callImp<id>(getter->imp, self);
    if (const Ivar* v = objectIvarForKey(self, key))
        return object_getIvar<id>(self, v);
    notCompliant(self, key);
}

const ClassDef<NSObject> kNSObject(
    "NSObject", "",
    {
        classMethod("alloc", [](Object* cls) -> id { return allocInstance(cls); }),
        classMethod("new", [](Object* cls) -> id { return msg<id>(allocInstance(cls), "init"); }),
        classMethod("class", [](Object* cls) -> id { return cls->self(); }),
        method("init", &NSObject::init),
        method("isEqual:", &NSObject::isEqual),
        method("hash", &NSObject::hash),
        method("class", [](Object* self) -> id { return classObject(self->isa); }),
        method("respondsToSelector:",
               [](Object* self, SEL sel) -> bool { return respondsToSelector(self, sel); }),
        method("isKindOfClass:", [](Object* self, Class* cls) -> bool { return isKindOfClass(self, cls); }),
        method("description",
               [](Object* self) -> std::string {
                   char buf[64];
                   std::snprintf(buf, sizeof buf, "%p", static_cast<void*>(self));
                   return "<" + self->isa->name + ": " + buf + ">";
               }),
        method("setValue:forKey:", setValueForKey),
        method("valueForKey:", valueForKey),
    });

} // namespace
