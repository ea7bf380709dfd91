#include "springboard/PCSimpleTimer.h"
#include "springboard/SpringBoardEvents.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/RunLoop.h"
#include "objc/runtime.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double kStart = 818323200.0; // Monday 2026-12-07 08:00:00 UTC

// A target that counts the calls of its two selectors, one taking the timer.
struct TimerTarget : NSObject {
    int plainCalls = 0;
    int withTimerCalls = 0;
    id lastTimer;
    void tick() { ++plainCalls; }
    void tickWithTimer(id timer) {
        ++withTimerCalls;
        lastTimer = std::move(timer);
    }
};
const ClassDef<TimerTarget> kTimerTarget("TestTimerTarget", "NSObject",
                                         {
                                             method("tick", &TimerTarget::tick),
                                             method("tickWithTimer:", &TimerTarget::tickWithTimer),
                                         });

id mainRunLoop() {
    return msg<id>(classObject(objc_getClass("NSRunLoop")), "mainRunLoop");
}

id makeTimer(double secondsFromStart, const id& target, const char* selector) {
    id timer = msg<id>(classObject(objc_getClass("PCSimpleTimer")), "alloc");
    return msg<id>(timer, "initWithFireDate:serviceIdentifier:target:selector:userInfo:",
                   NSDate{kStart + secondsFromStart}, "net.example.service", target,
                   sel_registerName(selector), nullptr);
}

std::vector<std::string> eventKinds() {
    std::vector<std::string> kinds;
    for (const auto& e : DeviceEvents::all())
        if (e.kind.rfind("timer", 0) == 0)
            kinds.push_back(e.kind + " " + e.detail);
    return kinds;
}

class PCSimpleTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeviceClock::useVirtual(NSDate{kStart});
        DeviceEvents::clear();
    }
};

TEST_F(PCSimpleTimerTest, FiresOnceAtItsDateOnTheMainRunLoop) {
    auto target = alloc<TimerTarget>();
    id timer = makeTimer(60, target, "tick");
    msg(timer, "scheduleInRunLoop:", mainRunLoop());
    msg(timer, "scheduleInRunLoop:", mainRunLoop()); // a second scheduling changes nothing

    RunLoop::main().runUntil(NSDate{kStart + 59.5});
    EXPECT_EQ(target->plainCalls, 0);
    EXPECT_TRUE(msg<bool>(timer, "isValid"));
    RunLoop::main().runUntil(NSDate{kStart + 3600});
    EXPECT_EQ(target->plainCalls, 1);
    EXPECT_FALSE(msg<bool>(timer, "isValid"));
    EXPECT_EQ(msg<NSDate>(timer, "fireDate"), NSDate{kStart + 60});
    EXPECT_EQ(eventKinds(),
              (std::vector<std::string>{"timer armed net.example.service at 2026-12-07 08:01:00Z",
                                        "timer fired net.example.service"}));
}

TEST_F(PCSimpleTimerTest, AMethodTakingAnArgumentReceivesTheTimer) {
    auto target = alloc<TimerTarget>();
    id timer = makeTimer(1, target, "tickWithTimer:");
    msg(timer, "scheduleInRunLoop:", mainRunLoop());
    RunLoop::main().runFor(2);
    EXPECT_EQ(target->withTimerCalls, 1);
    EXPECT_EQ(target->lastTimer, timer);
}

TEST_F(PCSimpleTimerTest, NeverFiresAfterInvalidateAndLetsGoOfItsTarget) {
    auto target = alloc<TimerTarget>();
    std::weak_ptr<TimerTarget> watch = target;
    id timer = makeTimer(10, target, "tick");
    msg(timer, "scheduleInRunLoop:", mainRunLoop());
    target.reset();
    EXPECT_FALSE(watch.expired()) << "a scheduled timer holds its target";
    msg(timer, "invalidate");
    msg(timer, "invalidate"); // once is enough
    EXPECT_TRUE(watch.expired()) << "an invalidated timer releases its target";
    RunLoop::main().runFor(60);
    EXPECT_FALSE(msg<bool>(timer, "isValid"));
    EXPECT_EQ(eventKinds(),
              (std::vector<std::string>{"timer armed net.example.service at 2026-12-07 08:00:10Z",
                                        "timer invalidated net.example.service"}));
    // Scheduling an invalidated timer does nothing either.
    msg(timer, "scheduleInRunLoop:", mainRunLoop());
    EXPECT_EQ(RunLoop::main().pendingCount(), 0u);
}

TEST_F(PCSimpleTimerTest, AScheduledTimerKeepsItselfAliveAndReleasesTheTargetAfterFiring) {
    auto target = alloc<TimerTarget>();
    std::weak_ptr<TimerTarget> watchTarget = target;
    std::weak_ptr<Object> watchTimer;
    {
        id timer = makeTimer(5, target, "tick");
        watchTimer = timer;
        msg(timer, "scheduleInRunLoop:", mainRunLoop());
    }
    target.reset();
    EXPECT_FALSE(watchTimer.expired());
    RunLoop::main().runFor(5);
    EXPECT_TRUE(watchTimer.expired());
    EXPECT_TRUE(watchTarget.expired());
}

TEST_F(PCSimpleTimerTest, ADateInThePastFiresOnTheNextTurnOfTheLoop) {
    auto target = alloc<TimerTarget>();
    id timer = makeTimer(-30, target, "tick");
    msg(timer, "scheduleInRunLoop:", mainRunLoop());
    EXPECT_EQ(target->plainCalls, 0) << "never from inside scheduleInRunLoop:";
    RunLoop::main().drain();
    EXPECT_EQ(target->plainCalls, 1);
}

TEST_F(PCSimpleTimerTest, AnUnscheduledTimerNeverFires) {
    auto target = alloc<TimerTarget>();
    id timer = makeTimer(1, target, "tick");
    msg(timer, "scheduleInRunLoop:", nullptr);
    RunLoop::main().runFor(10);
    EXPECT_EQ(target->plainCalls, 0);
    EXPECT_TRUE(msg<bool>(timer, "isValid"));
}

// With the device's slack a timer fires early, but never more than halfway from its
// scheduling to its date, so a target that re-arms for the same date ends.
TEST_F(PCSimpleTimerTest, SlackFiresEarlyByAtMostHalfTheWait) {
    struct Case {
        double slack, ahead, firesAt;
    };
    const Case cases[] = {{0, 600, 600}, {30, 600, 570}, {30, 40, 20}, {600, 60, 30}, {30, 20, 10}};
    for (const Case& c : cases) {
        SetUp();
        PCSimpleTimer::setSlack(c.slack);
        auto target = alloc<TimerTarget>();
        id timer = makeTimer(c.ahead, target, "tick");
        msg(timer, "scheduleInRunLoop:", mainRunLoop());
        RunLoop::main().runUntil(NSDate{kStart + c.firesAt - 0.01});
        EXPECT_EQ(target->plainCalls, 0) << c.slack << " " << c.ahead;
        RunLoop::main().runUntil(NSDate{kStart + c.firesAt});
        EXPECT_EQ(target->plainCalls, 1) << c.slack << " " << c.ahead;
        RunLoop::main().runUntil(NSDate{kStart + c.ahead + 1});
    }
    PCSimpleTimer::setSlack(0);
}

// A timer's date can come from a file: any double. Its event text never goes through an
// integer that cannot hold it: far dates saturate, NaN reads as 1970.
TEST(TimerEventDates, HostileDatesGiveAFixedTextNeverGarbage) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(sbevent::utcText(NSDate{kStart}), "2026-12-07 08:00:00Z");
    EXPECT_EQ(sbevent::utcText(NSDate{std::numeric_limits<double>::quiet_NaN()}),
              sbevent::utcText(NSDate{-978307200.0}));
    EXPECT_EQ(sbevent::utcText(NSDate{-978307200.0}), "1970-01-01 00:00:00Z");
    const std::string farFuture = sbevent::utcText(NSDate{1e308});
    const std::string farPast = sbevent::utcText(NSDate{-1e308});
    EXPECT_EQ(farFuture.substr(0, 3), "292") << farFuture; // 2^63 seconds after 1970: the year 292277026596
    EXPECT_EQ(farPast.substr(0, 4), "-292") << farPast;
    for (double future : {kInf, 9223372036854775808.0, 1e19})
        EXPECT_EQ(sbevent::utcText(NSDate{future}), farFuture) << future;
    for (double past : {-kInf, -9223372036854775808.0 - 978307200.0 * 2, -1e19})
        EXPECT_EQ(sbevent::utcText(NSDate{past}), farPast) << past;
}

} // namespace
