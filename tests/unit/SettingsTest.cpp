#include "core/config/Settings.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(NextRestartTest, IsTodayUnlessTheTimeHasPassed) {
    const TDateTime today = EncodeDate(2026, 12, 10);
    const TDateTime three = EncodeTime(3, 0, 0, 0);
    EXPECT_NEAR(NextRestartAfter(today + EncodeTime(2, 0, 0, 0), three), today + three, 1e-9);
    EXPECT_NEAR(NextRestartAfter(today + three, three), today + three, 1e-9);
    EXPECT_NEAR(NextRestartAfter(today + EncodeTime(4, 0, 0, 0), three), today + 1 + three, 1e-9);
}

}  // namespace
}  // namespace plintor
