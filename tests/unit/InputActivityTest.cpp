#include "core/lockdown/InputActivity.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

TEST(InputActivityTest, IdleMinutesAndTheScreensaverWake) {
    const TDateTime start = EncodeDate(2026, 12, 10) + EncodeTime(9, 0, 0, 0);
    test::TFakeClock clock(start);
    TInputActivity input(clock);
    clock.Set(start + EncodeTime(0, 9, 59, 999));
    EXPECT_FALSE(input.IdleMinutesReached(10));
    clock.Set(start + EncodeTime(0, 10, 0, 0));
    EXPECT_TRUE(input.IdleMinutesReached(10));
    EXPECT_FALSE(input.IdleMinutesReached(0));
    input.Disarm();
    clock.Set(start + 1);
    EXPECT_FALSE(input.IdleMinutesReached(10)) << "disarmed until the next input";

    int hidden = 0;
    input.Record();
    input.ScreensaverShown([&] { ++hidden; });
    input.Record();
    input.Record();
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(input.LastInput(), clock.Now());
}

}  // namespace
}  // namespace plintor
