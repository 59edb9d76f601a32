#include "core/config/KioskSettings.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(NextRestartTest, IsTodayUnlessTheTimeHasPassed) {
    const DateTime today = encodeDate(2026, 12, 10);
    const DateTime three = encodeTime(3, 0, 0, 0);
    // 10 December 2026 is day 46366 after 30 December 1899, and 03:00 is an eighth of a day.
    EXPECT_NEAR(nextRestartAfter(today + encodeTime(2, 0, 0, 0), three), 46366.125, 1e-9);
    EXPECT_NEAR(nextRestartAfter(today + three, three), 46366.125, 1e-9);
    EXPECT_NEAR(nextRestartAfter(today + encodeTime(4, 0, 0, 0), three), 46367.125, 1e-9);
}

}  // namespace
}  // namespace plintor
