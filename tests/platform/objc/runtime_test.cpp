#include "objc/runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Animal : NSObject {
    std::string name_ = "animal";
    id friend_;
    double weight_ = 1.5;
    std::string name() const { return name_; }
    void setName(std::string n) { name_ = std::move(n); }
    NSInteger legs() const { return 4; }
    std::string speak() { return "..."; }
    id init() {
        name_ = "initialized";
        return self();
    }
};

struct Dog : Animal {
    std::string speak() { return "woof, " + msgSuper<std::string>(this, classOf<Dog>(), "speak"); }
};

const ClassDef<Dog> kDog("TestDog", "TestAnimal",
                         {
                             method("speak", &Dog::speak),
                             classMethod("kind", [](Object*) -> std::string { return "dog"; }),
                         });
const ClassDef<Animal> kAnimal("TestAnimal", "NSObject",
                               {
                                   method("name", &Animal::name),
                                   method("setName:", &Animal::setName),
                                   method("legs", &Animal::legs),
                                   method("speak", &Animal::speak),
                                   method("init", &Animal::init),
                                   ivar("_friend", &Animal::friend_),
                                   ivar("_weight", &Animal::weight_),
                                   classMethod("kind", [](Object*) -> std::string { return "animal"; }),
                               });

TEST(Runtime, ClassesAreFoundByNameWhateverTheirRegistrationOrder) {
    Class* dog = objc_getClass("TestDog");
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(class_getSuperclass(dog), objc_getClass("TestAnimal"));
    EXPECT_EQ(class_getSuperclass(objc_getClass("TestAnimal")), objc_getClass("NSObject"));
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
}

TEST(Runtime, MessagesGoThroughTheSuperclassChainAndSuper) {
    id dog = msg<id>(msg<id>(classObject(objc_getClass("TestDog")), "alloc"), "init");
    EXPECT_EQ(msg<std::string>(dog, "name"), "initialized");
    EXPECT_EQ(msg<std::string>(dog, "speak"), "woof, ...");
    msg(dog, "setName:", "rex");
    EXPECT_EQ(msg<std::string>(dog, "name"), "rex");
    EXPECT_EQ(msg<NSInteger>(dog, "legs"), 4);
    EXPECT_EQ(msg<std::string>(classObject(objc_getClass("TestDog")), "kind"), "dog");
    EXPECT_EQ(object_getClass(dog.get()), objc_getClass("TestDog"));
    EXPECT_TRUE(isKindOfClass(dog, objc_getClass("TestAnimal")));
    EXPECT_FALSE(
        isKindOfClass(msg<id>(classObject(objc_getClass("TestAnimal")), "new"), objc_getClass("TestDog")));
    EXPECT_TRUE(msg<bool>(dog, "respondsToSelector:", sel_registerName("legs")));
    EXPECT_FALSE(msg<bool>(dog, "respondsToSelector:", sel_registerName("fly")));
    Ref<Dog> typed = msg<Ref<Dog>>(classObject(objc_getClass("TestDog")), "new");
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->name_, "initialized");
}

TEST(Runtime, MessagesToNoneGiveZeroValues) {
    id none;
    EXPECT_EQ(msg<NSInteger>(none, "legs"), 0);
    EXPECT_EQ(msg<std::string>(none, "name"), "");
    EXPECT_EQ(msg<id>(none, "init"), nullptr);
    msg(none, "setName:", "x"); // nothing happens
}

TEST(RuntimeDeathTest, UnrecognizedSelectorNamesClassAndSelector) {
    id dog = msg<id>(classObject(objc_getClass("TestDog")), "new");
    EXPECT_DEATH(msg(dog, "fly"), "-\\[TestDog fly\\]: unrecognized selector");
}

TEST(RuntimeDeathTest, WrongArgumentTypesStopTheProgram) {
    id dog = msg<id>(classObject(objc_getClass("TestDog")), "new");
    EXPECT_DEATH(msg<int>(dog, "legs"), "TestDog legs");
    EXPECT_DEATH(msg(dog, "setName:", 3), "setName:");
}

TEST(Runtime, AddMethodRefusesASelectorTheClassItselfHas) {
    Class* animal = objc_getClass("TestAnimal");
    EXPECT_FALSE(
        class_addMethod(animal, sel_registerName("legs"), makeImp([](Object*) -> NSInteger { return 3; })));
    id a = msg<id>(classObject(animal), "new");
    EXPECT_EQ(msg<NSInteger>(a, "legs"), 4);
    // A subclass may add its own, overriding the inherited one. The subclass is this run's own,
    // so what it adds reaches no other test of the process.
    static int made = 0;
    Class* dog = objc::registerClass("RuntimeTestAddingDog" + std::to_string(++made), "TestAnimal",
                                     [] { return id(std::make_shared<Animal>()); }, {});
    EXPECT_TRUE(class_addMethod(dog, sel_registerName("legs"),
                                makeImp([](Object*) -> NSInteger { return 3; }), "q@:"));
    EXPECT_EQ(msg<NSInteger>(msg<id>(classObject(dog), "new"), "legs"), 3);
    EXPECT_EQ(msg<NSInteger>(a, "legs"), 4);
}

} // namespace

namespace {
TEST(RuntimeDeathTest, AddMethodWithAWrongTypeEncodingIsAProgrammingError) {
    EXPECT_DEATH(class_addMethod(objc_getClass("TestDog"), sel_registerName("bark:"),
                                 makeImp([](Object*, id) {}), "v@:@q"),
                 "bark:");
}

TEST(Runtime, InstanceVariablesByName) {
    Class* dog = objc_getClass("TestDog");
    id d = msg<id>(classObject(dog), "new");
    id other = msg<id>(classObject(dog), "new");
    const Ivar* f = class_getInstanceVariable(dog, "_friend");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(object_getIvar(d.get(), f), nullptr);
    object_setIvar(d.get(), f, other);
    EXPECT_EQ(object_getIvar(d.get(), f), other);
    EXPECT_EQ(object_getIvar<double>(d.get(), class_getInstanceVariable(dog, "_weight")), 1.5);
    EXPECT_EQ(class_getInstanceVariable(dog, "_missing"), nullptr);
    EXPECT_EQ(object_getIvar(d.get(), class_getInstanceVariable(dog, "_missing")), nullptr);
    // Key-value coding reaches the same variable.
    id third = msg<id>(classObject(dog), "new");
    msg(d, "setValue:forKey:", third, "friend");
    EXPECT_EQ(msg<id>(d, "valueForKey:", "friend"), third);
}

TEST(Runtime, WeakReferencesDoNotKeepObjectsAlive) {
    weak_id w;
    {
        id d = msg<id>(classObject(objc_getClass("TestDog")), "new");
        w = d;
        EXPECT_FALSE(w.expired());
    }
    EXPECT_TRUE(w.expired());
    EXPECT_EQ(msg<NSInteger>(w.lock(), "legs"), 0);
}
} // namespace
