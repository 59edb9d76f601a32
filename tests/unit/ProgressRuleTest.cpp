#include "core/browser/ProgressRule.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(ProgressRuleTest, ShowsOnlyForSlowLoads) {
    const DateTime start = 46000.5;
    const double second = 1.0 / 86400;
    EXPECT_FALSE(progressIndicatorVisible(2, start, start + 1 * second));
    EXPECT_FALSE(progressIndicatorVisible(2, start, start + 1.9 * second));
    EXPECT_TRUE(progressIndicatorVisible(2, start, start + 2 * second));
    EXPECT_FALSE(progressIndicatorVisible(0, start, start + 5 * second));
    EXPECT_FALSE(progressIndicatorVisible(-1, start, start + 5 * second));
}

}  // namespace
}  // namespace plintor
