// The frame timer's rules: never early, re-enabling restarts the count, lag counts,
// intervals that read negative, and activation.
#include "platform/core/clock.h"
#include "platform/core/services.h"
#include "platform/timer/dxtimer.h"
#include "platform/timer/idle_slot.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;

namespace {

class DXTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        timer.setEnabled(false);
        timer.loaded();
        timer.OnTimer = [this](TCustomDXTimer*, int32_t lag) { lags.push_back(lag); };
    }
    void TearDown() override { timer.setEnabled(false); }
    // Advances the clock and gives the loop one idle pass.
    void idleAfter(uint32_t ms) {
        clock.advance(ms);
        IdleSlot::instance().runIdle();
    }

    static ManualClock startingAt(uint32_t ms) {
        ManualClock c;
        c.set(ms);
        return c;
    }

    ManualClock clock = startingAt(1000);
    quillon::testing::TestEnvironment environment;
    // In force before the timer is made: a timer keeps the clock it was made with.
    ScopedServices services{{.clock = &clock, .environment = &environment}};
    TDXTimer timer;
    std::vector<int32_t> lags;
};

TEST_F(DXTimerTest, ConstructionDefaults) {
    TDXTimer fresh;
    EXPECT_TRUE(fresh.ActiveOnly());
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_EQ(fresh.Interval(), 1000u);
    EXPECT_FALSE(fresh.Started()); // still loading: nothing starts before loaded
}

TEST_F(DXTimerTest, NeverTicksEarlyAndReEnablingRestartsTheCount) {
    timer.setInterval(220);
    timer.setEnabled(true);
    idleAfter(219);
    EXPECT_TRUE(lags.empty());
    idleAfter(1);
    ASSERT_EQ(lags.size(), 1u);
    EXPECT_EQ(lags[0], 1);

    idleAfter(100);
    timer.setEnabled(false);
    timer.setEnabled(true); // counts from now, not from the last tick
    idleAfter(200);
    EXPECT_EQ(lags.size(), 1u);
    idleAfter(20);
    EXPECT_EQ(lags.size(), 2u);

    // Enabling an enabled timer does not restart the count.
    idleAfter(200);
    timer.setEnabled(true);
    idleAfter(20);
    EXPECT_EQ(lags.size(), 3u);

    // No tick while disabled.
    timer.setEnabled(false);
    idleAfter(5000);
    EXPECT_EQ(lags.size(), 3u);
}

TEST_F(DXTimerTest, NewIntervalCountsFromTheLastTick) {
    timer.setInterval(1000);
    timer.setEnabled(true);
    idleAfter(1000);
    ASSERT_EQ(lags.size(), 1u);
    idleAfter(400);
    timer.setInterval(500); // due 500 after the last tick, not after the change
    idleAfter(99);
    EXPECT_EQ(lags.size(), 1u);
    idleAfter(1);
    EXPECT_EQ(lags.size(), 2u);
}

TEST_F(DXTimerTest, LagCountsAndZeroInterval) {
    timer.setInterval(100);
    timer.setEnabled(true);
    idleAfter(350); // a long handler elsewhere made the tick late
    ASSERT_EQ(lags.size(), 1u);
    EXPECT_EQ(lags[0], 3);

    timer.setInterval(0);
    idleAfter(0);
    idleAfter(7);
    ASSERT_EQ(lags.size(), 3u);
    EXPECT_EQ(lags[1], 1); // at least 1, even with nothing elapsed
    EXPECT_EQ(lags[2], 7); // the elapsed milliseconds
}

TEST_F(DXTimerTest, IntervalsReadingNegativeActAsZero) {
    timer.setInterval(static_cast<uint32_t>(-50)); // a negative pause sum
    EXPECT_EQ(timer.Interval(), 0u);
    timer.setInterval(0x80000000u);
    EXPECT_EQ(timer.Interval(), 0u);
    timer.setEnabled(true);
    idleAfter(0);
    EXPECT_EQ(lags.size(), 1u);
}

TEST_F(DXTimerTest, TicksAcrossTheClockWrap) {
    clock.set(0xFFFFFF00u);
    timer.setInterval(0x200);
    timer.setEnabled(true);
    idleAfter(0x1FF);
    EXPECT_TRUE(lags.empty());
    idleAfter(1);
    EXPECT_EQ(lags.size(), 1u);
}

TEST_F(DXTimerTest, ActiveOnlyFollowsApplicationActivation) {
    timer.setInterval(300);
    environment.active = false;
    timer.setEnabled(true); // started, but waits for activation
    EXPECT_TRUE(timer.Started());
    idleAfter(1000);
    EXPECT_TRUE(lags.empty());

    environment.active = true;
    timer.applicationActivated(); // the full interval runs again from here
    idleAfter(299);
    EXPECT_TRUE(lags.empty());
    idleAfter(1);
    EXPECT_EQ(lags.size(), 1u);

    timer.applicationDeactivated();
    idleAfter(1000);
    EXPECT_EQ(lags.size(), 1u);
    timer.applicationActivated();
    idleAfter(300);
    EXPECT_EQ(lags.size(), 2u);

    // Without ActiveOnly, activation changes nothing.
    timer.setEnabled(false);
    timer.setActiveOnly(false);
    environment.active = false;
    timer.setEnabled(true);
    idleAfter(300);
    EXPECT_EQ(lags.size(), 3u);
}

TEST_F(DXTimerTest, SleepsUntilTheTickIsDue) {
    timer.setInterval(250);
    timer.setEnabled(true);
    EXPECT_EQ(timer.msUntilDue(), 250u);
    clock.advance(100);
    EXPECT_EQ(timer.msUntilDue(), 150u);
    clock.advance(500);
    EXPECT_EQ(timer.msUntilDue(), 0u);
}

} // namespace
