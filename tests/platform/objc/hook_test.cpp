// Method replacement: the replacement runs and reaches the implementation it replaced, a hooked
// subclass leaves its superclass alone, and a selector the class cannot answer changes nothing.
//
// Each test makes its own classes under fresh names and hides them when it ends, so what one
// test hooks never reaches another run in the same process, in any order, any number of times.
#include "objc/runtime.h"
#include "substrate/substrate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Counter : NSObject {
    NSInteger value = 0;
    NSInteger add(NSInteger n) { return value += n; }
};

class Hook : public ::testing::Test {
  protected:
    void SetUp() override {
        static int made = 0;
        counterName = "HookTestCounter" + std::to_string(++made);
        counter = objc::registerClass(counterName, "NSObject", [] { return id(std::make_shared<Counter>()); },
                                      {method("add:", &Counter::add)});
        subCounter = objc::registerClass(counterName + "Sub", counterName,
                                         [] { return id(std::make_shared<Counter>()); }, {});
    }
    void TearDown() override {
        objc_hideClass(counterName);
        objc_hideClass(counterName + "Sub");
    }

    static id make(Class* cls) { return msg<id>(classObject(cls), "new"); }
    static NSInteger add(Class* cls, NSInteger n) { return msg<NSInteger>(make(cls), "add:", n); }

    // Hooks add: on `cls` with a replacement that hands `change(n)` to what it replaced; the
    // replaced implementation stays with the replacement, so nothing is shared across tests.
    template <class F> std::shared_ptr<Imp> hookAdd(Class* cls, F change) {
        auto previous = std::make_shared<Imp>();
        MSHookMessageEx(cls, sel_registerName("add:"),
                        makeImp([previous, change](Object* self, NSInteger n) -> NSInteger {
                            return callImp<NSInteger>(*previous, self, change(n));
                        }),
                        previous.get());
        return previous;
    }

    std::string counterName;
    Class* counter = nullptr;
    Class* subCounter = nullptr;
};

TEST_F(Hook, ReplacementRunsAndCallsThePreviousImplementation) {
    ASSERT_EQ(add(counter, 2), 2);
    const auto previous = hookAdd(counter, [](NSInteger n) { return n * 10; });
    ASSERT_TRUE(*previous);
    EXPECT_EQ(add(counter, 2), 20);
    // Subclasses inherit the replacement.
    EXPECT_EQ(add(subCounter, 1), 10);
}

TEST_F(Hook, HookingASubclassKeepsTheSuperclassUntouched) {
    const auto previous = hookAdd(subCounter, [](NSInteger n) { return n + 100; });
    ASSERT_TRUE(*previous); // the inherited implementation
    EXPECT_EQ(add(subCounter, 1), 101);
    EXPECT_EQ(add(counter, 1), 1);
}

TEST_F(Hook, HooksStackEachCallingTheOneBefore) {
    hookAdd(counter, [](NSInteger n) { return n * 10; });
    hookAdd(counter, [](NSInteger n) { return n + 1; });
    EXPECT_EQ(add(counter, 2), 30); // (2 + 1) * 10
}

TEST_F(Hook, HookingAnUnansweredSelectorChangesNothing) {
    Imp previous = makeImp([](Object*) {});
    MSHookMessageEx(counter, sel_registerName("reset"), makeImp([](Object*) {}), &previous);
    EXPECT_FALSE(previous);
    EXPECT_FALSE(class_respondsToSelector(counter, sel_registerName("reset")));
    previous = makeImp([](Object*) {});
    MSHookMessageEx(nullptr, sel_registerName("add:"), makeImp([](Object*) {}), &previous);
    EXPECT_FALSE(previous);
    EXPECT_EQ(add(counter, 3), 3);
}

} // namespace
