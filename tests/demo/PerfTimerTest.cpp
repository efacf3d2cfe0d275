#include <gtest/gtest.h>

#include "demo/Clock.h"
#include "demo/PerfTimer.h"

namespace {

constexpr int64_t kMs = 1000000;  // nanoseconds

// Every timer of a test reads the test's virtual clock.
class PerfTimerTest : public ::testing::Test {
protected:
    VirtualClock clock;
};

TEST_F(PerfTimerTest, CountsSecondsFromConstruction) {
    clock.set(5000 * kMs);
    PerfTimer timer(clock);
    EXPECT_EQ(timer.frequency, 1000000000);
    EXPECT_EQ(timer.startMs, 5000u);
    EXPECT_EQ(timer.elapsed(), 0.0f);
    clock.advance(1500 * kMs);
    EXPECT_FLOAT_EQ(timer.elapsed(), 1.5f);
}

TEST_F(PerfTimerTest, MarkMovesTheZeroAndReturnsSecondsSinceConstruction) {
    PerfTimer timer(clock);
    clock.advance(2000 * kMs);
    EXPECT_FLOAT_EQ(timer.mark(), 2.0f);
    clock.advance(250 * kMs);
    EXPECT_FLOAT_EQ(timer.elapsed(), 0.25f);
    EXPECT_FLOAT_EQ(timer.mark(), 2.25f);
}

TEST_F(PerfTimerTest, ResolutionIsOneMillisecond) {
    PerfTimer timer(clock);
    clock.advance(kMs - 1);
    EXPECT_EQ(timer.elapsed(), 0.0f);
    clock.advance(1);
    EXPECT_FLOAT_EQ(timer.elapsed(), 0.001f);
}

TEST_F(PerfTimerTest, MillisecondCountWrapsAtThirtyTwoBits) {
    clock.set((int64_t{1} << 32) * kMs - 400 * kMs);
    PerfTimer timer(clock);
    EXPECT_EQ(timer.startMs, 0xFFFFFE70u);
    clock.advance(1000 * kMs);
    EXPECT_FLOAT_EQ(timer.elapsed(), 1.0f);
}

TEST_F(PerfTimerTest, MillisecondsTruncateTheCounterTimesItsPeriod) {
    // Three ticks a second: tick 1 is 333.33 ms, tick 2 is 666.67 ms, both cut to whole ms.
    VirtualClock slow(3);
    slow.set(1);
    PerfTimer timer(slow);
    EXPECT_EQ(timer.startMs, 333u);
    slow.set(2);
    EXPECT_FLOAT_EQ(timer.elapsed(), 0.333f);
    slow.set(4);
    EXPECT_FLOAT_EQ(timer.elapsed(), 1.0f);
}

TEST_F(PerfTimerTest, MarkKeepsItsOffsetAsAFloat) {
    PerfTimer timer(clock);
    // 16777.217 s is no float: the mark keeps 16777.216796875, so "now" is a little past it.
    clock.advance(int64_t{16777217} * kMs);
    EXPECT_EQ(timer.mark(), 16777.216796875f);
    EXPECT_EQ(timer.markOffset, 16777.216796875f);
    const float sinceMark = timer.elapsed();
    EXPECT_GT(sinceMark, 0.0f);
    EXPECT_FLOAT_EQ(sinceMark, static_cast<float>(16777.217 - 16777.216796875));
}

TEST(PerfClock, TheRealClockIsMonotonicInNanoseconds) {
    RealClock real;
    EXPECT_EQ(real.frequency(), 1000000000);
    int64_t first = real.counter();
    EXPECT_GT(first, 0);
    EXPECT_GE(real.counter(), first);
}

}  // namespace
