// The runtime's per-thread caches: what was looked up once must not outlive a change of the
// tables behind it (a hook, a method added, a class hidden or registered), on any thread.
//
// Each test makes its own classes under fresh names and hides them when it ends, so what one
// test hooks, adds or hides never reaches another run in the same process; the call sites
// (and their caches) are shared by all, as a program's are.
#include "objc/runtime.h"
#include "substrate/substrate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace {

struct Greeter : NSObject {
    std::string greet() { return "hello"; }
};

std::string greetThroughCallSite(const id& o) {
    return msg<std::string>(o, SELECTOR("greet"));
}

class RuntimeCache : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string n = std::to_string(++made);
        greeterName = "CacheTestGreeter" + n;
        loudName = "CacheTestLoudGreeter" + n;
        lateName = "CacheTestLate" + n;
        greeter = objc::registerClass(greeterName, "NSObject", [] { return id(std::make_shared<Greeter>()); },
                                      {method("greet", &Greeter::greet)});
        loud = objc::registerClass(loudName, greeterName, [] { return id(std::make_shared<Greeter>()); }, {});
    }
    void TearDown() override {
        for (const std::string& name : {greeterName, loudName, lateName})
            objc_hideClass(name);
    }

    static id make(Class* cls) { return msg<id>(classObject(cls), "new"); }

    static inline int made = 0;
    std::string greeterName, loudName, lateName;
    Class* greeter = nullptr;
    Class* loud = nullptr;
};

TEST_F(RuntimeCache, ACallCachedBeforeAHookReachesTheHookOnEveryThread) {
    id plain = make(greeter);
    id loudOne = make(loud);
    std::string beforeOnThread;
    std::thread warm([&] { beforeOnThread = msg<std::string>(plain, "greet"); });
    warm.join();
    EXPECT_EQ(beforeOnThread, "hello");
    EXPECT_EQ(greetThroughCallSite(plain), "hello");
    EXPECT_EQ(msg<std::string>(loudOne, "greet"), "hello");

    auto previous = std::make_shared<Imp>();
    MSHookMessageEx(greeter, sel_registerName("greet"), makeImp([previous](Object* self) -> std::string {
                        return callImp<std::string>(*previous, self) + "!";
                    }),
                    previous.get());
    EXPECT_EQ(msg<std::string>(plain, "greet"), "hello!");
    EXPECT_EQ(greetThroughCallSite(plain), "hello!");
    EXPECT_EQ(msg<std::string>(loudOne, "greet"), "hello!"); // inherited, cached on the subclass
    std::string afterOnThread;
    std::thread again([&] { afterOnThread = msg<std::string>(plain, "greet"); });
    again.join();
    EXPECT_EQ(afterOnThread, "hello!");
}

TEST_F(RuntimeCache, AMethodAddedToASubclassReplacesWhatItInheritedOrLacked) {
    id loudOne = make(loud);
    EXPECT_EQ(msg<std::string>(loudOne, "greet"), "hello");
    EXPECT_FALSE(respondsToSelector(loudOne.get(), sel_registerName("shout")));

    ASSERT_TRUE(class_addMethod(loud, sel_registerName("greet"),
                                makeImp([](Object*) -> std::string { return "HELLO"; })));
    ASSERT_TRUE(class_addMethod(loud, sel_registerName("shout"),
                                makeImp([](Object*) -> std::string { return "HEY"; })));
    EXPECT_EQ(msg<std::string>(loudOne, "greet"), "HELLO");
    EXPECT_EQ(msg<std::string>(loudOne, "shout"), "HEY");
    EXPECT_EQ(msg<std::string>(make(greeter), "greet"), "hello");
}

TEST_F(RuntimeCache, ClassesByNameFollowRegistrationAndHiding) {
    ASSERT_EQ(objc_getClass(greeterName), greeter);
    objc_hideClass(greeterName);
    EXPECT_EQ(objc_getClass(greeterName), nullptr);
    EXPECT_EQ(objc_getClass(loudName), loud);

    EXPECT_EQ(objc_getClass(lateName), nullptr);
    Class* late =
        objc::registerClass(lateName, "NSObject", [] { return id(std::make_shared<NSObject>()); }, {});
    EXPECT_EQ(objc_getClass(lateName), late);
}

TEST_F(RuntimeCache, SelectorsAreOneObjectPerNameEvenWhereTheQuickHashCollides) {
    // Same length and the same first and last eight characters: the names share a slot.
    const std::string names[] = {
        "prefix__aaaa:suffix__", "prefix__bbbb:suffix__", "prefix__aaaa:suffix__x", "short", "shor", ""};
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

TEST_F(RuntimeCache, AMethodReplacedWhileItRunsGoesOnRunning) {
    Class* cls = loud;
    ASSERT_TRUE(class_addMethod(cls, sel_registerName("farewell"), makeImp([](Object*) -> std::string {
                                    const std::string before = "goodbye from the first implementation";
                                    return before;
                                })));
    // The running implementation replaces itself, then reads what it captured.
    const std::string captured(64, 'x');
    class_replaceMethod(cls, sel_registerName("farewell"), makeImp([captured, cls](Object*) -> std::string {
                            class_replaceMethod(cls, sel_registerName("farewell"),
                                                makeImp([](Object*) -> std::string { return "third"; }));
                            return captured;
                        }));
    id loudOne = make(loud);
    EXPECT_EQ(msg<std::string>(loudOne, "farewell"), captured);
    EXPECT_EQ(msg<std::string>(loudOne, "farewell"), "third");
}

} // namespace
