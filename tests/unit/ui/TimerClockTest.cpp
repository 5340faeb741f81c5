// The timers of a form against a clock the test moves: periods, holds and
// what switching a timer off and on does.
#include "ui/forms/TimerClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace bastion::ui {
namespace {

struct TimerClockTest : ::testing::Test {
    TimerClockTest() {
        slow.onTick = [this] { ticks.push_back(now); };
        clock.Follow(now);
    }
    // Runs the clock in steps of 100 ms until the time.
    void RunTo(std::uint64_t until) {
        while (now < until) {
            now += 100;
            clock.Run(now);
        }
    }

    Form form{"form"};
    Timer slow{form, "tmrSlow", 5000, true};
    Timer fast{form, "tmrFast", 2000, true};
    TimerClock clock{form};
    std::uint64_t now = 0;
    std::vector<std::uint64_t> ticks;
};

TEST_F(TimerClockTest, AHoldNeverRestartsThePeriodAndATickDueMeanwhileComesOnceAtTheEnd) {
    // Held for a moment every two seconds, as a busy shield does: the
    // five-second timer keeps its pace.
    fast.onTick = [this] {
        slow.SetHeld(true);
        fast.SetHeld(true);
        slow.SetHeld(false);
        fast.SetHeld(false);
    };
    RunTo(20000);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{5000, 10000, 15000, 20000}));

    // Held across two of its periods: one tick when the hold ends, and the
    // next a whole period after that tick.
    ticks.clear();
    fast.onTick = nullptr;
    slow.SetHeld(true);
    RunTo(31000);
    EXPECT_TRUE(ticks.empty());
    EXPECT_FALSE(clock.UntilNextDue(now) == 0u) << "a held timer wakes nobody";
    slow.SetHeld(false);
    EXPECT_EQ(clock.UntilNextDue(now), 0u);
    RunTo(40000);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{31100, 36100}));

    // Switched off and on, a timer starts its period afresh: what the holds
    // above must not do.
    ticks.clear();
    RunTo(40000 + 4000);
    slow.SetEnabled(false);
    slow.SetEnabled(true);
    clock.Follow(now);
    RunTo(50000);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{41100, 49000}));
}

TEST_F(TimerClockTest, ATickThatLetsEventsRunIsNotEnteredAgain) {
    int depth = 0;
    int deepest = 0;
    slow.SetEnabled(false);
    fast.onTick = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        // Events run inside the tick, long after it came due.
        now += 5000;
        clock.Run(now);
        --depth;
    };
    RunTo(2000);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(clock.UntilNextDue(now), 0u) << "due again once, after it returned";
}

}  // namespace
}  // namespace bastion::ui
