#include "core/config/KioskSettings.h"

#include <gtest/gtest.h>

#include "tests/support/LocalDates.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

TEST(NextRestartTest, IsTodayUnlessTheTimeHasPassed) {
    const LocalTime today = test::date(2026, 12, 10);
    const LocalTime tomorrow = test::date(2026, 12, 11);
    EXPECT_EQ(nextRestartAfter(today + 2h, 3h), today + 3h);
    EXPECT_EQ(nextRestartAfter(today + 3h, 3h), today + 3h);
    EXPECT_EQ(nextRestartAfter(today + 4h, 3h), tomorrow + 3h);
}

}  // namespace
}  // namespace plintor
