// Selector interning, the class registry, method lookup with a per-class cache behind a
// per-thread one (ThreadCaches.h), and the runtime's loud failures.
#include "objc/runtime.h"

#include "ThreadCaches.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <mutex>
#include <set>

namespace {

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

struct SelectorTable {
    std::mutex mutex;
    std::unordered_map<std::string, std::unique_ptr<Selector>> byName;
};
SelectorTable& selectors() {
    static auto* table = new SelectorTable; // lives until exit, used from static initializers
    return *table;
}

std::unordered_map<std::string, std::shared_ptr<Class>>& classesByName() {
    static auto* map = new std::unordered_map<std::string, std::shared_ptr<Class>>;
    return *map;
}

// Bumped whenever any method table changes; caches older than it are dropped.
std::atomic<unsigned long> gGeneration{1};

std::string demangle(const char* name) {
    int status = 0;
    char* s = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    std::string out = status == 0 && s ? s : name;
    std::free(s);
    return out;
}

Class* findClassLocked(std::string_view name) {
    auto& map = classesByName();
    auto it = map.find(std::string(name));
    return it == map.end() ? nullptr : it->second.get();
}

Class* superclassLocked(const Class* cls);

const Method* lookupLocked(const Class* cls, SEL sel) {
    for (const Class* c = cls; c; c = superclassLocked(c)) {
        auto it = c->methods.find(sel);
        if (it != c->methods.end())
            return it->second.get();
    }
    return nullptr;
}

} // namespace

struct ClassRegistry {
    static Class* superOf(const Class* cls) {
        if (cls->superCache_)
            return cls->superCache_;
        Class* s = nullptr;
        if (cls->isMeta) {
            Class* ownerSuper = superclassLocked(cls->owner);
            s = ownerSuper ? ownerSuper->meta : cls->owner; // the root metaclass inherits from the root
        } else if (!cls->superName.empty()) {
            s = findClassLocked(cls->superName);
        }
        cls->superCache_ = s;
        return s;
    }
    // The method for `sel` and the generation it is valid for.
    static const Method* lookup(const Class* cls, SEL sel, unsigned long& gen) {
        std::lock_guard lock(registryMutex());
        gen = gGeneration.load();
        if (cls->cacheGeneration_ != gen) {
            cls->cache_.clear();
            cls->cacheGeneration_ = gen;
        }
        auto it = cls->cache_.find(sel);
        if (it != cls->cache_.end())
            return it->second;
        const Method* m = lookupLocked(cls, sel);
        cls->cache_.emplace(sel, m);
        return m;
    }
};

namespace {
Class* superclassLocked(const Class* cls) {
    return ClassRegistry::superOf(cls);
}
} // namespace

namespace {
SEL internSelector(std::string_view name) {
    auto& t = selectors();
    std::lock_guard lock(t.mutex);
    auto it = t.byName.find(std::string(name));
    if (it != t.byName.end())
        return it->second.get();
    auto sel = std::make_unique<Selector>(Selector{std::string(name)});
    SEL out = sel.get();
    t.byName.emplace(std::string(name), std::move(sel));
    return out;
}
} // namespace

SEL sel_registerName(std::string_view name) {
    static thread_local objc::cache::Table<SEL, 1024> cached;
    SEL& slot = cached.at(objc::cache::nameHash(name));
    if (!slot || slot->name != name)
        slot = internSelector(name);
    return slot;
}

const char* sel_getName(SEL sel) {
    return sel ? sel->name.c_str() : "<null selector>";
}

Class* Class::superclass() const {
    std::lock_guard lock(registryMutex());
    return ClassRegistry::superOf(this);
}

namespace {
struct MethodSlot {
    const Class* cls;
    SEL sel;
    unsigned long generation;
    const Method* method;
};
struct ClassSlot {
    Class* cls;
    unsigned long generation;
};
} // namespace

const Method* Class::lookup(SEL sel) const {
    static thread_local objc::cache::Table<MethodSlot, 512> cached;
    MethodSlot& slot = cached.at(objc::cache::pairHash(this, sel));
    if (slot.cls == this && slot.sel == sel && slot.generation == gGeneration.load(std::memory_order_acquire))
        return slot.method;
    unsigned long gen = 0;
    const Method* m = ClassRegistry::lookup(this, sel, gen);
    slot = {this, sel, gen, m};
    return m;
}

namespace {
std::set<std::string, std::less<>>& hiddenClassNames() {
    static std::set<std::string, std::less<>> names;
    return names;
}
} // namespace

Class* objc_getClass(std::string_view name) {
    // Only classes found are kept: a name not registered yet may be registered later.
    static thread_local objc::cache::Table<ClassSlot, 256> cached;
    ClassSlot& slot = cached.at(objc::cache::nameHash(name));
    if (slot.cls && slot.generation == gGeneration.load(std::memory_order_acquire) && slot.cls->name == name)
        return slot.cls;
    std::lock_guard lock(registryMutex());
    if (hiddenClassNames().count(name))
        return nullptr;
    Class* cls = findClassLocked(name);
    if (cls)
        slot = {cls, gGeneration.load()};
    return cls;
}

void objc_hideClass(std::string_view name) {
    std::lock_guard lock(registryMutex());
    hiddenClassNames().emplace(name);
    ++gGeneration;
}

Class* object_getClass(const Object* object) {
    return object ? object->isa : nullptr;
}
const char* class_getName(const Class* cls) {
    return cls ? cls->name.c_str() : "nil";
}
Class* class_getSuperclass(const Class* cls) {
    return cls ? cls->superclass() : nullptr;
}

bool class_respondsToSelector(const Class* cls, SEL sel) {
    return cls && cls->lookup(sel) != nullptr;
}

bool class_addMethod(Class* cls, SEL sel, Imp imp, std::string_view types) {
    if (!cls || !sel || !imp)
        return false;
    if (!types.empty() && types != imp.types && imp.types.find('?') == std::string::npos) {
        std::fprintf(stderr, "class_addMethod: %s %s declared as \"%.*s\" but implemented as \"%s\"\n",
                     cls->name.c_str(), sel->name.c_str(), int(types.size()), types.data(),
                     imp.types.c_str());
        std::abort();
    }
    std::lock_guard lock(registryMutex());
    if (cls->methods.count(sel))
        return false;
    cls->methods.emplace(sel, std::make_unique<Method>(Method{sel, std::move(imp)}));
    ++gGeneration;
    return true;
}

Imp class_replaceMethod(Class* cls, SEL sel, Imp imp) {
    if (!cls || !sel)
        return {};
    std::lock_guard lock(registryMutex());
    auto it = cls->methods.find(sel);
    if (it != cls->methods.end()) {
        Imp previous = std::move(it->second->imp);
        static auto* retired = new std::vector<std::shared_ptr<const void>>; // see dispatch
        retired->push_back(previous.function);
        it->second->imp = std::move(imp);
        ++gGeneration;
        return previous;
    }
    Imp inherited;
    if (const Method* m = lookupLocked(cls, sel))
        inherited = m->imp;
    cls->methods.emplace(sel, std::make_unique<Method>(Method{sel, std::move(imp)}));
    ++gGeneration;
    return inherited;
}

const Method* class_getInstanceMethod(const Class* cls, SEL sel) {
    return cls ? cls->lookup(sel) : nullptr;
}
const Method* class_getClassMethod(const Class* cls, SEL sel) {
    return cls && cls->meta ? cls->meta->lookup(sel) : nullptr;
}

const Ivar* class_getInstanceVariable(const Class* cls, std::string_view name) {
    for (const Class* c = cls; c; c = c->superclass()) {
        for (const auto& v : c->ivars)
            if (v->name == name)
                return v.get();
    }
    return nullptr;
}

bool respondsToSelector(const Object* object, SEL sel) {
    return object && object->isa && object->isa->lookup(sel) != nullptr;
}

bool isKindOfClass(const Object* object, const Class* cls) {
    if (!object || !cls)
        return false;
    for (const Class* c = object->isa; c; c = c->superclass())
        if (c == cls)
            return true;
    return false;
}

id classObject(Class* cls) {
    if (!cls)
        return nullptr;
    return cls->shared_from_this();
}

namespace objc {

Class* registerClass(std::string_view name, std::string_view superName, std::function<id()> factory,
                     std::vector<Entry>&& entries) {
    auto cls = std::make_shared<Class>();
    auto meta = std::make_shared<Class>();
    cls->name = std::string(name);
    cls->superName = std::string(superName);
    cls->factory = std::move(factory);
    cls->meta = meta.get();
    meta->name = std::string(name);
    meta->isMeta = true;
    meta->owner = cls.get();
    cls->isa = meta.get();
    for (auto& e : entries) {
        SEL sel = e.kind == Entry::Variable ? nullptr : sel_registerName(e.name);
        switch (e.kind) {
        case Entry::Instance:
            cls->methods[sel] = std::make_unique<Method>(Method{sel, std::move(e.imp)});
            break;
        case Entry::ClassSide:
            meta->methods[sel] = std::make_unique<Method>(Method{sel, std::move(e.imp)});
            break;
        case Entry::Variable:
            cls->ivars.push_back(std::move(e.ivar));
            break;
        }
    }
    std::lock_guard lock(registryMutex());
    auto& map = classesByName();
    if (map.count(cls->name)) {
        std::fprintf(stderr, "objc: class %s is registered twice\n", cls->name.c_str());
        std::abort();
    }
    // Classes whose superclass registers later (static initialization order) resolve lazily.
    for (auto& [n, c] : map) {
        c->superCache_ = nullptr;
        c->meta->superCache_ = nullptr;
    }
    Class* out = cls.get();
    map.emplace(cls->name, cls);
    static auto* metas = new std::vector<std::shared_ptr<Class>>;
    metas->push_back(meta);
    ++gGeneration;
    return out;
}

namespace {
std::string describeReceiver(Object* receiver) {
    if (!receiver)
        return "nil";
    if (receiver->isa && receiver->isa->isMeta)
        return "+[" + receiver->isa->name;
    return "-[" + std::string(receiver->isa ? receiver->isa->name : "<no class>");
}
} // namespace

void signatureMismatch(Object* receiver, SEL sel, const Imp& imp, const std::type_info& called) {
    std::fprintf(stderr, "%s %s]: sent with signature %s but the method is %s (%s)\n",
                 describeReceiver(receiver).c_str(), sel ? sel->name.c_str() : "<implementation>",
                 demangle(called.name()).c_str(), demangle(imp.signature.name()).c_str(), imp.types.c_str());
    std::fflush(stderr);
    std::abort();
}

void unrecognizedSelector(Object* receiver, SEL sel) {
    std::fprintf(stderr, "%s %s]: unrecognized selector sent to %s %p\n", describeReceiver(receiver).c_str(),
                 sel_getName(sel), receiver && receiver->isa && receiver->isa->isMeta ? "class" : "instance",
                 static_cast<void*>(receiver));
    std::fflush(stderr);
    std::abort();
}

void classlessObject(Object* receiver, SEL sel) {
    std::fprintf(stderr, "%s sent to %p, an object made without alloc (it has no class)\n", sel_getName(sel),
                 static_cast<void*>(receiver));
    std::fflush(stderr);
    std::abort();
}

} // namespace objc
