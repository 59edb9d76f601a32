#include "core/browser/ProgressRule.h"

#include <gtest/gtest.h>

#include "tests/support/LocalDates.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

TEST(ProgressRuleTest, ShowsOnlyForSlowLoads) {
    const LocalTime start = test::date(2025, 12, 9) + 12h;
    EXPECT_FALSE(progressIndicatorVisible(2, start, start + 1s));
    EXPECT_FALSE(progressIndicatorVisible(2, start, start + 1900ms));
    EXPECT_TRUE(progressIndicatorVisible(2, start, start + 2s));
    EXPECT_FALSE(progressIndicatorVisible(0, start, start + 5s));
    EXPECT_FALSE(progressIndicatorVisible(-1, start, start + 5s));
}

}  // namespace
}  // namespace plintor
