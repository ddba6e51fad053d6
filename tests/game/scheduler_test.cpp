// The sequence-timer model in virtual time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game/scheduler.h"

namespace {

class SchedulerTest : public ::testing::Test {
  protected:
    Timer& make(const std::string& name, std::function<void()> extra = {}) {
        return scheduler.createTimer(name, [this, name, extra] {
            log.push_back(name + "@" + std::to_string(scheduler.now()));
            if (extra) extra();
        });
    }
    Scheduler scheduler;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(SchedulerTest, EnabledTimerRunsEveryIntervalFromWhenItWasEnabled) {
    Timer& t = make("t");
    t.setInterval(100);
    scheduler.advance(30);
    t.setEnabled(true);
    scheduler.advance(330);
    EXPECT_EQ(log, (Log{"t@130", "t@230", "t@330"}));
}

TEST_F(SchedulerTest, ChangedIntervalRestartsTheCountdownButTheSameValueDoesNot) {
    Timer& t = make("t");
    t.setInterval(100);
    t.setEnabled(true);
    scheduler.advance(60);
    t.setInterval(100);  // unchanged: still due at 100
    scheduler.advance(40);
    EXPECT_EQ(log, (Log{"t@100"}));
    scheduler.advance(50);
    t.setInterval(80);  // changed at 150: next at 230
    scheduler.advance(100);
    EXPECT_EQ(log, (Log{"t@100", "t@230"}));
}

TEST_F(SchedulerTest, EnablingAnEnabledTimerChangesNothingAndDisablingStopsIt) {
    Timer& t = make("t");
    t.setInterval(100);
    t.setEnabled(true);
    scheduler.advance(70);
    t.setEnabled(true);
    scheduler.advance(30);
    EXPECT_EQ(log, (Log{"t@100"}));
    t.setEnabled(false);
    t.setEnabled(false);
    scheduler.advance(500);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_FALSE(scheduler.nextDue().has_value());
    t.setEnabled(true);  // at 600: countdown starts afresh
    scheduler.advance(100);
    EXPECT_EQ(log.back(), "t@700");
}

TEST_F(SchedulerTest, IntervalChangeOfADisabledTimerDoesNotStartIt) {
    Timer& t = make("t");
    t.setInterval(50);
    scheduler.advance(500);
    EXPECT_TRUE(log.empty());
}

TEST_F(SchedulerTest, StartedAtOnceRunsAfterTheCallerReturnsNeverInsideIt) {
    Timer& second = make("second");
    bool insideFirst = false;
    Timer& first = scheduler.createTimer("first", [&] {
        insideFirst = true;
        second.setInterval(1);
        second.setEnabled(true);
        EXPECT_TRUE(log.empty()) << "second ran inside first";
        insideFirst = false;
        log.push_back("first@" + std::to_string(scheduler.now()));
    });
    first.setInterval(10);
    first.setEnabled(true);
    scheduler.advance(11);
    EXPECT_FALSE(insideFirst);
    EXPECT_EQ(log, (Log{"first@10", "second@11"}));
}

TEST_F(SchedulerTest, TimersDueTogetherRunInCreationOrder) {
    Timer& a = make("a");
    Timer& b = make("b");
    Timer& c = make("c");
    c.setInterval(50);
    b.setInterval(25);
    a.setInterval(50);
    c.setEnabled(true);
    b.setEnabled(true);
    a.setEnabled(true);
    scheduler.advance(50);
    EXPECT_EQ(log, (Log{"b@25", "a@50", "b@50", "c@50"}));
}

TEST_F(SchedulerTest, AHandlerSettingItsOwnIntervalSchedulesFromItsDueTime) {
    int step = 0;
    Timer* self = nullptr;
    Timer& seq = make("seq", [&] {
        ++step;
        if (step == 1) self->setInterval(300);
        if (step == 2) self->setInterval(375);
        if (step == 4) self->setEnabled(false);
    });
    self = &seq;
    seq.setEnabled(true);  // interval 1: "at once"
    scheduler.advance(5000);
    EXPECT_EQ(log, (Log{"seq@1", "seq@301", "seq@676", "seq@1051"}));
}

TEST(SchedulerRealTime, LateRunsDoNotDriftAndLongGapsAreNotReplayed) {
    std::int64_t clock = 0;
    Scheduler scheduler([&] { return clock; });
    std::vector<std::int64_t> runs;
    Timer& t = scheduler.createTimer("t", [&] { runs.push_back(scheduler.now()); });
    t.setInterval(100);
    t.setEnabled(true);

    clock = 130;  // woken 30 ms late
    scheduler.runDue();
    clock = 200;
    scheduler.runDue();
    EXPECT_EQ(runs, (std::vector<std::int64_t>{100, 200})) << "the late run must not push the next";

    clock = 450;  // a short stall is caught up tick by tick
    scheduler.runDue();
    EXPECT_EQ(runs, (std::vector<std::int64_t>{100, 200, 300, 400}));

    clock = 60'000;  // a suspended machine: one run now, then the rhythm from here
    scheduler.runDue();
    EXPECT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs.back(), 60'000);
    EXPECT_EQ(scheduler.nextDue(), 60'100);
}

TEST(SchedulerRealTime, WakeupIsAskedForAfterChangesOutsideARun) {
    std::int64_t clock = 0;
    Scheduler scheduler([&] { return clock; });
    int wakeups = 0;
    scheduler.setWakeup([&] { ++wakeups; });
    Timer& t = scheduler.createTimer("t", [] {});
    t.setInterval(100);
    EXPECT_EQ(wakeups, 0) << "a disabled timer's interval does not move any deadline";
    t.setEnabled(true);
    EXPECT_EQ(wakeups, 1);
    EXPECT_EQ(scheduler.nextDue(), 100);
}

}  // namespace
