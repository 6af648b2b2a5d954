// WaitSeconds on virtual time: more than n and at most n + 1 seconds, and a clock set back.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Services.h"
#include "tests/support/VirtualClock.h"
#include "updatetool/link/WaitSeconds.h"

namespace {

class WaitSecondsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::install({nullptr, &clock, nullptr, nullptr}); }
    void TearDown() override { platform::installHostServices(); }
    testing_support::VirtualClock clock;
};

}  // namespace

TEST_F(WaitSecondsTest, LastsMoreThanNAndAtMostNPlusOneSeconds) {
    for (uint32_t n : {0u, 1u, 2u, 4u, 5u}) {
        // Start at several phases within a second: just after a step, mid-second, just before.
        for (uint64_t phase : {1u, 500u, 998u}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " phase=" << phase);
            clock.advanceMs((1000 - clock.nowMs() % 1000) % 1000 + phase);
            const uint64_t before = clock.nowMs();
            WaitSeconds(n);
            const uint64_t lasted = clock.nowMs() - before;
            EXPECT_GT(lasted, n * 1000u);
            EXPECT_LE(lasted, (n + 1) * 1000u + 1);
            EXPECT_EQ(clock.nowMs() % 1000, 0u);  // it ends at a whole-second step
        }
    }
}

TEST_F(WaitSecondsTest, AClockSetBackEndsTheWaitAtOnce) {
    clock.setReadStepMs(0);  // time stands still; only the calendar moves
    std::thread setter([&] {
        while (clock.readings() < 1000) std::this_thread::yield();
        clock.shiftCalendarSeconds(-3600);
    });
    WaitSeconds(60);  // would never end if the wrapped difference were not taken as elapsed
    setter.join();
    EXPECT_EQ(clock.nowMs(), 0u);
}

TEST_F(WaitSecondsTest, ElapsedSecondsWrapAsUnsigned32Bit) {
    testing_support::VirtualClock nearWrap(0xFFFFFFFFu);
    platform::install({nullptr, &nearWrap, nullptr, nullptr});
    const uint32_t start = SecondsClock();
    nearWrap.advanceMs(2000);
    EXPECT_EQ(SecondsElapsedSince(start), 2u);
}
