#include "foundation/DeviceClock.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const NSDate kStart{800000000.0};

class VirtualRunLoop : public testing::Test {
  protected:
    void SetUp() override { DeviceClock::useVirtual(kStart); }
    RunLoop& loop = RunLoop::main();
    std::vector<std::string> ran;
    double at() const { return DeviceClock::now().timeIntervalSinceDate(kStart); }
    std::function<void()> note(std::string name) {
        return [this, name] { ran.push_back(name + "@" + std::to_string(static_cast<int>(at() * 1000))); };
    }
};

TEST_F(VirtualRunLoop, RunsInDueOrderWithTiesInPostingOrderAndMovesTheClock) {
    loop.schedule(kStart.dateByAddingTimeInterval(2), note("timer2"));
    dispatch_after_main(1'500'000'000, note("after1.5"));
    loop.schedule(kStart.dateByAddingTimeInterval(1), note("timer1a"));
    loop.schedule(kStart.dateByAddingTimeInterval(1), note("timer1b"));
    dispatch_async_main(note("async"));
    EXPECT_TRUE(ran.empty()) << "nothing runs before the loop does";
    loop.runUntil(kStart.dateByAddingTimeInterval(1.75));
    EXPECT_EQ(ran, (std::vector<std::string>{"async@0", "timer1a@1000", "timer1b@1000", "after1.5@1500"}));
    EXPECT_EQ(DeviceClock::now(), kStart.dateByAddingTimeInterval(1.75));
    loop.runFor(10);
    EXPECT_EQ(ran.back(), "timer2@2000");
    EXPECT_EQ(at(), 11.75);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(VirtualRunLoop, WorkPostedWhileRunningRunsInTheSamePassWhenDue) {
    dispatch_async_main([this] {
        note("first")();
        dispatch_async_main(note("posted-now"));
        dispatch_after_main(500'000'000, note("posted-later"));
        dispatch_after_main(5'000'000'000, note("beyond"));
    });
    loop.runFor(1);
    EXPECT_EQ(ran, (std::vector<std::string>{"first@0", "posted-now@0", "posted-later@500"}));
    EXPECT_EQ(loop.pendingCount(), 1u);
}

TEST_F(VirtualRunLoop, DrainRunsOnlyWhatIsDueAndLeavesTheClock) {
    dispatch_async_main(note("now"));
    dispatch_after_main(1'000'000, note("later"));
    loop.drain();
    EXPECT_EQ(ran, (std::vector<std::string>{"now@0"}));
    EXPECT_EQ(DeviceClock::now(), kStart);
}

TEST_F(VirtualRunLoop, CancelledTimersNeverRun) {
    uint64_t a = loop.schedule(kStart.dateByAddingTimeInterval(1), note("a"));
    uint64_t b = loop.schedule(kStart.dateByAddingTimeInterval(1), note("b"));
    loop.schedule(kStart.dateByAddingTimeInterval(0.5), note("c"));
    EXPECT_EQ(loop.nextDueDate(), kStart.dateByAddingTimeInterval(0.5));
    loop.cancel(a);
    loop.cancel(a);      // twice is harmless
    loop.cancel(999999); // unknown too
    loop.runFor(2);
    EXPECT_EQ(ran, (std::vector<std::string>{"c@500", "b@1000"}));
    EXPECT_EQ(loop.nextDueDate(), std::nullopt);
    loop.cancel(b); // already ran
}

TEST_F(VirtualRunLoop, ATimerCancelledByAnEarlierItemDoesNotRun) {
    uint64_t later = loop.schedule(kStart.dateByAddingTimeInterval(2), note("later"));
    loop.schedule(kStart.dateByAddingTimeInterval(1), [&] { loop.cancel(later); });
    loop.runFor(3);
    EXPECT_TRUE(ran.empty());
}

TEST_F(VirtualRunLoop, ClockJumpsMakeItemsDueWithoutMovingTimeBackward) {
    loop.schedule(kStart.dateByAddingTimeInterval(60), note("minute"));
    DeviceClock::setVirtualNow(kStart.dateByAddingTimeInterval(120));
    loop.drain();
    EXPECT_EQ(ran, (std::vector<std::string>{"minute@120000"}));
    DeviceClock::setVirtualNow(kStart);
    loop.schedule(kStart.dateByAddingTimeInterval(5), note("five"));
    loop.runUntil(kStart.dateByAddingTimeInterval(4));
    EXPECT_EQ(ran.size(), 1u);
    EXPECT_EQ(at(), 4);
}

TEST_F(VirtualRunLoop, RunJumpsFromItemToItemUntilStopped) {
    dispatch_after_main(3'000'000'000, note("three"));
    dispatch_after_main(1'000'000'000, [this] {
        note("one")();
        loop.stop();
    });
    loop.run();
    EXPECT_EQ(ran, (std::vector<std::string>{"one@1000"}));
    loop.run(); // stop does not stick
    EXPECT_EQ(ran.back(), "three@3000");
}

TEST(DeviceClockTest, VirtualTimeMovesOnlyWhenSet) {
    DeviceClock::useVirtual(kStart);
    EXPECT_TRUE(DeviceClock::isVirtual());
    EXPECT_EQ(NSDate::date(), kStart);
    EXPECT_EQ(NSDate::dateWithTimeIntervalSinceNow(30), kStart.dateByAddingTimeInterval(30));
    DeviceClock::setVirtualNow(NSDate{5});
    EXPECT_EQ(NSDate::date(), NSDate{5});
    DeviceClock::useSystem();
    EXPECT_FALSE(DeviceClock::isVirtual());
    EXPECT_GT(NSDate::date().timeIntervalSince1970(), 1.7e9);
}

TEST(NSDateTest, ComparesAndConverts) {
    NSDate a{10}, b{20};
    EXPECT_EQ(a.compare(b), NSOrderedAscending);
    EXPECT_EQ(b.compare(a), NSOrderedDescending);
    EXPECT_EQ(a.compare(NSDate{10}), NSOrderedSame);
    EXPECT_EQ(b.timeIntervalSinceDate(a), 10);
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(978307200), NSDate{0});
    EXPECT_EQ(NSDate{0}.timeIntervalSince1970(), 978307200);
}

TEST(MainThread, IsTheThreadThatRunsTheLoop) {
    DeviceClock::useVirtual(kStart);
    RunLoop::main().drain();
    EXPECT_TRUE(NSThreadIsMainThread());
    EXPECT_TRUE(msg<bool>(classObject(objc_getClass("NSThread")), "isMainThread"));
    bool onOther = true;
    std::thread([&] { onOther = NSThreadIsMainThread(); }).join();
    EXPECT_FALSE(onOther);
    bool inItem = false;
    dispatch_async_main([&] { inItem = NSThreadIsMainThread(); });
    RunLoop::main().drain();
    EXPECT_TRUE(inItem);
    id loop = msg<id>(classObject(objc_getClass("NSRunLoop")), "mainRunLoop");
    EXPECT_NE(loop, nullptr);
    EXPECT_EQ(loop, msg<id>(classObject(objc_getClass("NSRunLoop")), "mainRunLoop"));
}

// Under the system clock the loop sleeps until another thread posts; the posts below come from
// other threads and the last one stops the loop, so nothing here waits on a timer.
TEST(SystemRunLoop, RunsWorkPostedFromOtherThreadsUntilStopped) {
    DeviceClock::useSystem();
    RunLoop& loop = RunLoop::main();
    std::atomic<int> count{0};
    bool allOnMain = true;
    std::vector<std::thread> posters;
    for (int t = 0; t < 4; ++t)
        posters.emplace_back([&] {
            for (int i = 0; i < 250; ++i)
                dispatch_async_main([&] {
                    allOnMain = allOnMain && NSThreadIsMainThread();
                    if (++count == 1000)
                        loop.stop();
                });
        });
    loop.run();
    for (auto& t : posters)
        t.join();
    EXPECT_EQ(count, 1000);
    EXPECT_TRUE(allOnMain);
}

} // namespace
