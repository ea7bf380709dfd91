#include "objc/runtime.h"
#include "substrate/substrate.h"

#include <gtest/gtest.h>

namespace {

struct Counter : NSObject {
    NSInteger value = 0;
    NSInteger add(NSInteger n) { return value += n; }
};
const ClassDef<Counter> kCounter("TestCounter", "NSObject", {method("add:", &Counter::add)});
struct SubCounter : Counter {};
const ClassDef<SubCounter> kSubCounter("TestSubCounter", "TestCounter", {});

TEST(Hook, ReplacementRunsAndCallsThePreviousImplementation) {
    static Imp previous;
    MSHookMessageEx(objc_getClass("TestCounter"), sel_registerName("add:"),
                    makeImp([](Object* self, NSInteger n) -> NSInteger { return callImp<NSInteger>(previous, self, n * 10); }),
                    &previous);
    ASSERT_TRUE(previous);
    id c = msg<id>(classObject(objc_getClass("TestCounter")), "new");
    EXPECT_EQ(msg<NSInteger>(c, "add:", NSInteger{2}), 20);
    // Subclasses inherit the replacement.
    id s = msg<id>(classObject(objc_getClass("TestSubCounter")), "new");
    EXPECT_EQ(msg<NSInteger>(s, "add:", NSInteger{1}), 10);
}

TEST(Hook, HookingASubclassKeepsTheSuperclassUntouched) {
    static Imp previous;
    MSHookMessageEx(objc_getClass("TestSubCounter"), sel_registerName("add:"),
                    makeImp([](Object* self, NSInteger n) -> NSInteger { return callImp<NSInteger>(previous, self, n + 100); }),
                    &previous);
    ASSERT_TRUE(previous);
    EXPECT_EQ(msg<NSInteger>(msg<id>(classObject(objc_getClass("TestSubCounter")), "new"), "add:", NSInteger{1}), 101);
    EXPECT_EQ(msg<NSInteger>(msg<id>(classObject(objc_getClass("TestCounter")), "new"), "add:", NSInteger{1}), 1);
}

TEST(Hook, HookingAnUnansweredSelectorChangesNothing) {
    Imp previous = makeImp([](Object*) {});
    MSHookMessageEx(objc_getClass("TestCounter"), sel_registerName("reset"), makeImp([](Object*) {}), &previous);
    EXPECT_FALSE(previous);
    EXPECT_FALSE(class_respondsToSelector(objc_getClass("TestCounter"), sel_registerName("reset")));
    MSHookMessageEx(nullptr, sel_registerName("add:"), makeImp([](Object*) {}), &previous);
    EXPECT_FALSE(previous);
}

} // namespace
