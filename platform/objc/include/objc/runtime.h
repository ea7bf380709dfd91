// The object runtime: classes found by name, messages looked up through the superclass chain,
// methods added and replaced at run time, instance variables by name.
//
// Objects are owned through `id` (a strong, reference-counted handle); weak references are
// `weak_id`. A message names a selector and passes exact C++ types: the runtime checks the
// caller's signature against the method's and stops the program, naming class and selector,
// on a mismatch or an unrecognized selector. A message to none returns the zero value.
//
// Argument and result types are normalized before the check, so callers need not spell them
// out: any `Ref<T>` (T an Object) and `nullptr` travel as `id`, string literals as
// `std::string`, and references as values. Numbers are not converted: a method taking
// `NSInteger` must be sent an `NSInteger`.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

struct Object;
struct Class;

using id = std::shared_ptr<Object>;
using weak_id = std::weak_ptr<Object>;
template <class T> using Ref = std::shared_ptr<T>;
template <class T> using WeakRef = std::weak_ptr<T>;

using NSInteger = long;
using NSUInteger = unsigned long;
using BOOL = bool;
static_assert(sizeof(NSInteger) == 8, "the device is 64-bit");

struct Selector {
    std::string name;
};
using SEL = const Selector*;

SEL sel_registerName(std::string_view name);
const char* sel_getName(SEL sel);

// A selector argument: a SEL, or its name (interned on the way).
struct SelArg {
    SEL sel;
    SelArg(SEL s) : sel(s) {}                                        // NOLINT(google-explicit-constructor)
    SelArg(std::string_view name) : sel(sel_registerName(name)) {}   // NOLINT(google-explicit-constructor)
    SelArg(const char* name) : sel(sel_registerName(name)) {}        // NOLINT(google-explicit-constructor)
    SelArg(const std::string& name) : sel(sel_registerName(name)) {} // NOLINT(google-explicit-constructor)
};

// A selector interned once per call site: SELECTOR("frame").
#define SELECTOR(name)                                                                                       \
    ([]() -> SEL {                                                                                           \
        static const SEL s_ = sel_registerName(name);                                                        \
        return s_;                                                                                           \
    }())

// ---------------------------------------------------------------------------------------------
// Objects

struct Object : std::enable_shared_from_this<Object> {
    Class* isa = nullptr;

    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    id self() { return shared_from_this(); }
    template <class T> Ref<T> selfAs() { return std::static_pointer_cast<T>(shared_from_this()); }
};

// Checked down-cast of a handle; none when the object is of another C++ type.
template <class T, class U> Ref<T> cast(const Ref<U>& object) {
    return std::dynamic_pointer_cast<T>(object);
}

// ---------------------------------------------------------------------------------------------
// Type encodings ("v@:@q"): derived from C++ types; struct types add a specialization.

namespace objc {
template <class T, class = void> struct TypeEncoding { static constexpr const char* value = "?"; };
template <> struct TypeEncoding<void> { static constexpr const char* value = "v"; };
template <> struct TypeEncoding<id> { static constexpr const char* value = "@"; };
template <> struct TypeEncoding<std::string> { static constexpr const char* value = "@"; };
template <> struct TypeEncoding<Class*> { static constexpr const char* value = "#"; };
template <> struct TypeEncoding<SEL> { static constexpr const char* value = ":"; };
template <> struct TypeEncoding<bool> { static constexpr const char* value = "B"; };
template <> struct TypeEncoding<char> { static constexpr const char* value = "c"; };
template <> struct TypeEncoding<int> { static constexpr const char* value = "i"; };
template <> struct TypeEncoding<unsigned> { static constexpr const char* value = "I"; };
template <> struct TypeEncoding<long> { static constexpr const char* value = "q"; };
template <> struct TypeEncoding<unsigned long> { static constexpr const char* value = "Q"; };
template <> struct TypeEncoding<long long> { static constexpr const char* value = "q"; };
template <> struct TypeEncoding<unsigned long long> { static constexpr const char* value = "Q"; };
template <> struct TypeEncoding<float> { static constexpr const char* value = "f"; };
template <> struct TypeEncoding<double> { static constexpr const char* value = "d"; };
template <class F> struct TypeEncoding<std::function<F>> { static constexpr const char* value = "@?"; };

// Normalization of argument and result types (see the top of this file).
template <class T> struct IsRef : std::false_type {};
template <class T> struct IsRef<std::shared_ptr<T>> : std::is_base_of<Object, T> {};

template <class T> struct NormalizeImpl { using type = T; };
template <class T>
requires IsRef<T>::value struct NormalizeImpl<T> {
    using type = id;
};
template <> struct NormalizeImpl<std::nullptr_t> { using type = id; };
template <> struct NormalizeImpl<const char*> { using type = std::string; };
template <> struct NormalizeImpl<char*> { using type = std::string; };
template <> struct NormalizeImpl<std::string_view> { using type = std::string; };
template <class T> using Normalize = typename NormalizeImpl<std::decay_t<T>>::type;

template <class T> struct IsObjectPointer : std::false_type {};
template <class T> struct IsObjectPointer<T*> : std::is_base_of<Object, T> {};

// Turns a normalized value back into the parameter type a C++ method declares.
template <class P, class N> P fromNormalized(N&& value) {
    using D = std::decay_t<P>;
    if constexpr (IsRef<D>::value && !std::is_same_v<D, id>) {
        return std::dynamic_pointer_cast<typename D::element_type>(std::forward<N>(value));
    } else {
        return std::forward<N>(value);
    }
}

template <class R, class... A> std::string encodingOf() {
    std::string s = TypeEncoding<R>::value;
    s += "@:";
    ((s += TypeEncoding<A>::value), ...);
    return s;
}
} // namespace objc

// ---------------------------------------------------------------------------------------------
// Implementations

// A type-erased method implementation. Its C++ signature is R(Object* self, A...), with every
// type normalized. `types` is the type encoding derived from that signature.
struct Imp {
    std::type_index signature = typeid(void);
    std::shared_ptr<const void> function; // points to a std::function<R(Object*, A...)>
    std::string types;

    explicit operator bool() const { return function != nullptr; }
};

namespace objc {
template <class F> struct CallableTraits : CallableTraits<decltype(&F::operator())> {};
template <class C, class R, class... A> struct CallableTraits<R (C::*)(Object*, A...) const> {
    using result = R;
    using args = std::tuple<A...>;
};
template <class C, class R, class... A> struct CallableTraits<R (C::*)(Object*, A...)> {
    using result = R;
    using args = std::tuple<A...>;
};
template <class R, class... A> struct CallableTraits<R (*)(Object*, A...)> {
    using result = R;
    using args = std::tuple<A...>;
};

template <class R, class... A> Imp makeTypedImp(std::function<Normalize<R>(Object*, Normalize<A>...)> fn) {
    using Sig = Normalize<R>(Normalize<A>...);
    return Imp{typeid(Sig),
               std::make_shared<const std::function<Normalize<R>(Object*, Normalize<A>...)>>(std::move(fn)),
               encodingOf<Normalize<R>, Normalize<A>...>()};
}

template <class F, class R, class... A> Imp makeImpFromTuple(F&& f, std::tuple<A...>*) {
    std::function<Normalize<R>(Object*, Normalize<A>...)> fn =
        [g = std::forward<F>(f)](Object* self, Normalize<A>... args) -> Normalize<R> {
        if constexpr (std::is_void_v<R>) {
            g(self, fromNormalized<A>(std::move(args))...);
        } else {
            return g(self, fromNormalized<A>(std::move(args))...);
        }
    };
    return makeTypedImp<R, A...>(std::move(fn));
}

[[noreturn]] void signatureMismatch(Object* receiver, SEL sel, const Imp& imp, const std::type_info& called);
[[noreturn]] void unrecognizedSelector(Object* receiver, SEL sel);
[[noreturn]] void classlessObject(Object* receiver, SEL sel);
} // namespace objc

// An implementation from a callable whose first parameter is `Object* self`:
//   makeImp([](Object* self, id notification) { ... })
template <class F> Imp makeImp(F&& f) {
    using T = objc::CallableTraits<std::decay_t<F>>;
    return objc::makeImpFromTuple<F, typename T::result>(std::forward<F>(f),
                                                         static_cast<typename T::args*>(nullptr));
}

// Calls an implementation directly (a saved previous implementation, typically).
template <class R = void, class... A> R callImp(const Imp& imp, Object* self, A&&... args) {
    using NR = objc::Normalize<R>;
    using Sig = NR(objc::Normalize<A>...);
    if (!imp) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    if (imp.signature != typeid(Sig))
        objc::signatureMismatch(self, nullptr, imp, typeid(Sig));
    const auto& fn =
        *static_cast<const std::function<NR(Object*, objc::Normalize<A>...)>*>(imp.function.get());
    if constexpr (std::is_void_v<R>) {
        fn(self, objc::Normalize<A>(std::forward<A>(args))...);
    } else if constexpr (objc::IsRef<R>::value && !std::is_same_v<R, id>) {
        return std::dynamic_pointer_cast<typename R::element_type>(
            fn(self, objc::Normalize<A>(std::forward<A>(args))...));
    } else {
        return fn(self, objc::Normalize<A>(std::forward<A>(args))...);
    }
}

// ---------------------------------------------------------------------------------------------
// Classes

namespace objc {
struct Entry;
Class* registerClass(std::string_view name, std::string_view superName, std::function<id()> factory,
                     std::vector<Entry>&& entries);
} // namespace objc

struct Method {
    SEL name;
    Imp imp;
};

struct Ivar {
    std::string name;
    std::type_index type = typeid(void);
    std::function<void*(Object*)> address; // where the variable lives in an object
};

struct Class : Object {
    std::string name;
    std::string superName; // empty for a root class
    bool isMeta = false;
    Class* meta = nullptr;       // the class whose methods are this class's class methods
    Class* owner = nullptr;      // for a metaclass: the class it belongs to
    std::function<id()> factory; // makes an uninitialized instance (alloc)
    std::unordered_map<SEL, std::unique_ptr<Method>> methods;
    std::vector<std::shared_ptr<Ivar>> ivars;

    Class* superclass() const;
    // The method answering `sel`, found through the superclass chain (cached), or none.
    const Method* lookup(SEL sel) const;

  private:
    friend struct ClassRegistry;
    friend Class* objc::registerClass(std::string_view, std::string_view, std::function<id()>,
                                      std::vector<objc::Entry>&&);
    mutable Class* superCache_ = nullptr;
    mutable std::unordered_map<SEL, const Method*> cache_;
    mutable unsigned long cacheGeneration_ = 0;
};

Class* objc_getClass(std::string_view name);
// A system without the class: from now on objc_getClass does not find it by name (code that
// holds the class already, its instances and its subclasses go on working). Once per process.
void objc_hideClass(std::string_view name);
Class* object_getClass(const Object* object);
const char* class_getName(const Class* cls);
Class* class_getSuperclass(const Class* cls);
bool class_respondsToSelector(const Class* cls, SEL sel);
// Adds a method unless the class itself already has one for `sel` (true when added). A given
// type encoding must match the implementation's own.
bool class_addMethod(Class* cls, SEL sel, Imp imp, std::string_view types = {});
// Installs `imp` for `sel` on the class itself; returns the implementation it had or inherited.
// The implementation it replaces stays alive for the life of the process.
Imp class_replaceMethod(Class* cls, SEL sel, Imp imp);
const Method* class_getInstanceMethod(const Class* cls, SEL sel);
const Method* class_getClassMethod(const Class* cls, SEL sel);
const Ivar* class_getInstanceVariable(const Class* cls, std::string_view name);
bool respondsToSelector(const Object* object, SEL sel);
bool isKindOfClass(const Object* object, const Class* cls);
inline bool isKindOfClass(const id& object, const Class* cls) {
    return isKindOfClass(object.get(), cls);
}
// The class as a handle, for passing where an object is expected.
id classObject(Class* cls);

template <class T = id> T object_getIvar(Object* object, const Ivar* ivar) {
    if (!object || !ivar)
        return T{};
    if (ivar->type != typeid(T))
        return T{};
    return *static_cast<T*>(ivar->address(object));
}
template <class T> void object_setIvar(Object* object, const Ivar* ivar, T value) {
    if (!object || !ivar || ivar->type != typeid(T))
        return;
    *static_cast<T*>(ivar->address(object)) = std::move(value);
}

// ---------------------------------------------------------------------------------------------
// Messages

namespace objc {
inline Object* rawObject(Object* o) {
    return o;
}
inline Object* rawObject(const Object* o) {
    return const_cast<Object*>(o);
}
template <class T> Object* rawObject(const std::shared_ptr<T>& o) {
    return o.get();
}
inline Object* rawObject(std::nullptr_t) {
    return nullptr;
}

template <class R, class... A> R dispatch(Object* receiver, const Method* m, SEL sel, A&&... args) {
    using NR = Normalize<R>;
    using Sig = NR(Normalize<A>...);
    if (!m)
        unrecognizedSelector(receiver, sel);
    if (m->imp.signature != typeid(Sig))
        signatureMismatch(receiver, sel, m->imp, typeid(Sig));
    // No reference is taken: a replaced implementation is kept alive by the runtime, so one that
    // is replaced while it runs goes on running.
    const auto& fn = *static_cast<const std::function<NR(Object*, Normalize<A>...)>*>(m->imp.function.get());
    if constexpr (std::is_void_v<R>) {
        fn(receiver, Normalize<A>(std::forward<A>(args))...);
    } else if constexpr (IsRef<R>::value && !std::is_same_v<R, id>) {
        return std::dynamic_pointer_cast<typename R::element_type>(
            fn(receiver, Normalize<A>(std::forward<A>(args))...));
    } else {
        return fn(receiver, Normalize<A>(std::forward<A>(args))...);
    }
}
} // namespace objc

// Sends a message: msg<CGRect>(view, "frame"), msg(view, "setFrame:", rect).
template <class R = void, class Recv, class... A> R msg(const Recv& receiver, SelArg sel, A&&... args) {
    Object* o = objc::rawObject(receiver);
    if (!o) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    if (!o->isa)
        objc::classlessObject(o, sel.sel);
    return objc::dispatch<R>(o, o->isa->lookup(sel.sel), sel.sel, std::forward<A>(args)...);
}

// Sends a message to the superclass's implementation: msgSuper(self, ownClass, "viewWillAppear:", a).
template <class R = void, class... A>
R msgSuper(Object* self, const Class* ownClass, SelArg sel, A&&... args) {
    if (!self) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    const Class* start = ownClass->superclass();
    const Method* m = start ? start->lookup(sel.sel) : nullptr;
    return objc::dispatch<R>(self, m, sel.sel, std::forward<A>(args)...);
}

// ---------------------------------------------------------------------------------------------
// Declaring a class: one static ClassDef per C++ class, next to its methods.
//
//   static const ClassDef<UIView> kUIView("UIView", "NSObject", {
//       method("frame", &UIView::frame),
//       method("setFrame:", &UIView::setFrame),
//       classMethod("layerClass", [](Object* cls) -> id { ... }),
//       ivar("_layer", &UIView::layer_),
//   });

namespace objc {
struct Entry {
    enum Kind { Instance, ClassSide, Variable } kind;
    std::string name;
    Imp imp;
    std::shared_ptr<Ivar> ivar;
};

template <class C, class M, class R, class... A> Imp memberImp(M member) {
    return makeImp([member](Object* self, A... args) -> R {
        return (static_cast<C*>(self)->*member)(std::forward<A>(args)...);
    });
}
template <class C, class R, class... A> Imp memberImpOf(R (C::*m)(A...)) {
    return memberImp<C, R (C::*)(A...), R, A...>(m);
}
template <class C, class R, class... A> Imp memberImpOf(R (C::*m)(A...) const) {
    return memberImp<C, R (C::*)(A...) const, R, A...>(m);
}

// Per C++ type, the runtime class registered for it.
template <class T> struct ClassOf { static inline Class* cls = nullptr; };

} // namespace objc

template <class M> objc::Entry method(std::string_view selector, M member) {
    if constexpr (std::is_member_function_pointer_v<M>) {
        return {objc::Entry::Instance, std::string(selector), objc::memberImpOf(member), nullptr};
    } else {
        return {objc::Entry::Instance, std::string(selector), makeImp(member), nullptr};
    }
}
template <class F> objc::Entry classMethod(std::string_view selector, F f) {
    return {objc::Entry::ClassSide, std::string(selector), makeImp(f), nullptr};
}
template <class C, class T> objc::Entry ivar(std::string_view name, T C::*member) {
    auto v = std::make_shared<Ivar>();
    v->name = std::string(name);
    v->type = typeid(T);
    v->address = [member](Object* o) -> void* { return &(static_cast<C*>(o)->*member); };
    return {objc::Entry::Variable, std::string(name), Imp{}, v};
}

template <class T> struct ClassDef {
    Class* cls;
    ClassDef(std::string_view name, std::string_view superName, std::vector<objc::Entry> entries) {
        cls = objc::registerClass(
            name, superName, [] { return id(std::make_shared<T>()); }, std::move(entries));
        objc::ClassOf<T>::cls = cls;
    }
};

// A new, uninitialized instance of the class registered for T (as `alloc` makes it).
template <class T> Ref<T> alloc() {
    Class* c = objc::ClassOf<T>::cls;
    if (!c)
        return nullptr;
    return std::static_pointer_cast<T>(msg<id>(classObject(c), SELECTOR("alloc")));
}
// The class registered for a C++ type.
template <class T> Class* classOf() {
    return objc::ClassOf<T>::cls;
}

// ---------------------------------------------------------------------------------------------
// NSObject, the root class: alloc, new, init, class, isEqual:, hash, respondsToSelector:,
// isKindOfClass:, description, and key-value coding (setValue:forKey:, valueForKey:) through
// a setter `setKey:` or getter `key` taking or giving an object, else an instance variable
// `_key` or `key` of type id.
struct NSObject : Object {
    id init() { return self(); }
    bool isEqual(id other) { return other.get() == this; }
    NSUInteger hash() { return reinterpret_cast<NSUInteger>(this); }
};
