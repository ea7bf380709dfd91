#include "foundation/DeviceClock.h"
#include "foundation/NotifyCenter.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class NotifyCenterTest : public testing::Test {
  protected:
    void SetUp() override { DeviceClock::useVirtual(NSDate{1000}); }
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    std::vector<std::string> calls;
    CFNotificationCallback recorder(std::string tag) {
        return [this, tag](CFNotificationCenterRef c, const void*, const std::string& name) {
            EXPECT_EQ(c, center);
            calls.push_back(tag + ":" + name);
        };
    }
    void post(const std::string& name, bool immediately = false) {
        CFNotificationCenterPostNotification(center, name, nullptr, nullptr, immediately);
    }
};

TEST_F(NotifyCenterTest, DeliversLaterOnTheMainLoopToObserversOfTheName) {
    int observerA = 0, observerB = 0;
    CFNotificationCenterAddObserver(center, &observerA, recorder("a"), "net.test.one", nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(center, &observerB, recorder("b"), "net.test.two", nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    post("net.test.one", true);
    post("net.test.other");
    EXPECT_TRUE(calls.empty()) << "delivery is asynchronous";
    RunLoop::main().drain();
    EXPECT_EQ(calls, (std::vector<std::string>{"a:net.test.one"}));
    EXPECT_EQ(CFNotificationCenterGetDarwinNotifyCenter(), center);
}

TEST_F(NotifyCenterTest, CoalescingObserversGetOneCallForPostsBeforeDelivery) {
    int coalescing = 0, each = 0;
    CFNotificationCenterAddObserver(center, &coalescing, recorder("coalesce"), "n", nullptr, Coalesce);
    CFNotificationCenterAddObserver(center, &each, recorder("hold"), "n", nullptr, Hold);
    post("n");
    post("n");
    post("n", true);
    RunLoop::main().drain();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "coalesce:n"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "hold:n"), 3);
    calls.clear();
    post("n");
    RunLoop::main().drain();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "coalesce:n"), 1) << "a later post delivers again";
}

TEST_F(NotifyCenterTest, APostDuringDeliveryDeliversAgain) {
    int observer = 0;
    int delivered = 0;
    CFNotificationCenterAddObserver(
        center, &observer,
        [&](CFNotificationCenterRef, const void* o, const std::string&) {
            EXPECT_EQ(o, &observer);
            if (++delivered == 1)
                post("again");
        },
        "again", nullptr, Coalesce);
    post("again");
    RunLoop::main().drain();
    EXPECT_EQ(delivered, 2);
}

TEST_F(NotifyCenterTest, RemovedObserversGetNothingEvenIfAlreadyQueued) {
    int gone = 0, stays = 0;
    CFNotificationCenterAddObserver(center, &gone, recorder("gone"), "n", nullptr, Coalesce);
    CFNotificationCenterAddObserver(center, &stays, recorder("stays"), "n", nullptr, Coalesce);
    post("n");
    CFNotificationCenterRemoveObserver(center, &gone, "n", nullptr);
    post("n");
    RunLoop::main().drain();
    EXPECT_EQ(calls, (std::vector<std::string>{"stays:n"}));
    CFNotificationCenterRemoveEveryObserver(center, &stays);
    post("n");
    RunLoop::main().drain();
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(NotifyCenterTest, PostsFromOtherThreadsAreDeliveredOnTheMainLoop) {
    RunLoop::main().drain(); // this thread runs the loop
    bool onMain = false;
    int count = 0;
    CFNotificationCenterAddObserver(
        center, nullptr,
        [&](CFNotificationCenterRef, const void*, const std::string&) {
            onMain = NSThreadIsMainThread();
            ++count;
        },
        "threaded", nullptr, Coalesce);
    std::thread([&] { post("threaded"); }).join();
    RunLoop::main().drain();
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(onMain);
}

} // namespace
