// The runtime's per-thread caches: what was looked up once must not outlive a change of the
// tables behind it (a hook, a method added, a class hidden or registered), on any thread.
#include "objc/runtime.h"
#include "substrate/substrate.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

struct Greeter : NSObject {
    std::string greet() { return "hello"; }
};
const ClassDef<Greeter> kGreeter("CacheTestGreeter", "NSObject", {method("greet", &Greeter::greet)});
struct LoudGreeter : Greeter {};
const ClassDef<LoudGreeter> kLoudGreeter("CacheTestLoudGreeter", "CacheTestGreeter", {});

id make(const char* className) { return msg<id>(classObject(objc_getClass(className)), "new"); }
std::string greetThroughCallSite(const id& o) { return msg<std::string>(o, SELECTOR("greet")); }

TEST(RuntimeCache, ACallCachedBeforeAHookReachesTheHookOnEveryThread) {
    id greeter = make("CacheTestGreeter");
    id loud = make("CacheTestLoudGreeter");
    std::string beforeOnThread;
    std::thread warm([&] { beforeOnThread = msg<std::string>(greeter, "greet"); });
    warm.join();
    EXPECT_EQ(beforeOnThread, "hello");
    EXPECT_EQ(greetThroughCallSite(greeter), "hello");
    EXPECT_EQ(msg<std::string>(loud, "greet"), "hello");

    static Imp previous;
    MSHookMessageEx(objc_getClass("CacheTestGreeter"), sel_registerName("greet"),
                    makeImp([](Object* self) -> std::string { return callImp<std::string>(previous, self) + "!"; }),
                    &previous);
    EXPECT_EQ(msg<std::string>(greeter, "greet"), "hello!");
    EXPECT_EQ(greetThroughCallSite(greeter), "hello!");
    EXPECT_EQ(msg<std::string>(loud, "greet"), "hello!"); // inherited, cached on the subclass
    std::string afterOnThread;
    std::thread again([&] { afterOnThread = msg<std::string>(greeter, "greet"); });
    again.join();
    EXPECT_EQ(afterOnThread, "hello!");
}

TEST(RuntimeCache, AMethodAddedToASubclassReplacesWhatItInheritedOrLacked) {
    id loud = make("CacheTestLoudGreeter");
    Class* cls = objc_getClass("CacheTestLoudGreeter");
    EXPECT_EQ(msg<std::string>(loud, "greet"), "hello");
    EXPECT_FALSE(respondsToSelector(loud.get(), sel_registerName("shout")));

    ASSERT_TRUE(class_addMethod(cls, sel_registerName("greet"), makeImp([](Object*) -> std::string { return "HELLO"; })));
    ASSERT_TRUE(class_addMethod(cls, sel_registerName("shout"), makeImp([](Object*) -> std::string { return "HEY"; })));
    EXPECT_EQ(msg<std::string>(loud, "greet"), "HELLO");
    EXPECT_EQ(msg<std::string>(loud, "shout"), "HEY");
    EXPECT_EQ(msg<std::string>(make("CacheTestGreeter"), "greet"), "hello");
}

TEST(RuntimeCache, ClassesByNameFollowRegistrationAndHiding) {
    ASSERT_NE(objc_getClass("CacheTestGreeter"), nullptr);
    objc_hideClass("CacheTestGreeter");
    EXPECT_EQ(objc_getClass("CacheTestGreeter"), nullptr);
    EXPECT_NE(objc_getClass("CacheTestLoudGreeter"), nullptr);

    EXPECT_EQ(objc_getClass("CacheTestLate"), nullptr);
    Class* late = objc::registerClass("CacheTestLate", "NSObject", [] { return id(std::make_shared<NSObject>()); }, {});
    EXPECT_EQ(objc_getClass("CacheTestLate"), late);
}

TEST(RuntimeCache, SelectorsAreOneObjectPerNameEvenWhereTheQuickHashCollides) {
    // Same length and the same first and last eight characters: the names share a slot.
    const std::string names[] = {"prefix__aaaa:suffix__", "prefix__bbbb:suffix__", "prefix__aaaa:suffix__x",
                                 "short", "shor", ""};
    for (const std::string& name : names) {
        SEL sel = sel_registerName(name);
        EXPECT_EQ(sel_getName(sel), name);
        SEL onThread = nullptr;
        std::thread t([&] { onThread = sel_registerName(name); });
        t.join();
        EXPECT_EQ(onThread, sel) << name;
    }
    EXPECT_NE(sel_registerName(names[0]), sel_registerName(names[1]));
    EXPECT_EQ(sel_registerName(names[0]), sel_registerName(std::string(names[0])));
}

TEST(RuntimeCache, AMethodReplacedWhileItRunsGoesOnRunning) {
    Class* cls = objc_getClass("CacheTestLoudGreeter");
    ASSERT_TRUE(class_addMethod(cls, sel_registerName("farewell"), makeImp([](Object*) -> std::string {
        const std::string before = "goodbye from the first implementation";
        return before;
    })));
    // The running implementation replaces itself, then reads what it captured.
    const std::string captured(64, 'x');
    class_replaceMethod(cls, sel_registerName("farewell"), makeImp([captured, cls](Object*) -> std::string {
        class_replaceMethod(cls, sel_registerName("farewell"), makeImp([](Object*) -> std::string { return "third"; }));
        return captured;
    }));
    id loud = make("CacheTestLoudGreeter");
    EXPECT_EQ(msg<std::string>(loud, "farewell"), captured);
    EXPECT_EQ(msg<std::string>(loud, "farewell"), "third");
}

} // namespace
