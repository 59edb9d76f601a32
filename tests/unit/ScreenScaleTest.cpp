#include "core/support/ScreenScale.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(ScreenScaleTest, ClassesAndValues) {
    EXPECT_EQ(ScaleClass(96), 100);
    EXPECT_EQ(ScaleClass(120), 100);
    EXPECT_EQ(ScaleClass(143), 100);
    EXPECT_EQ(ScaleClass(144), 150);
    EXPECT_EQ(ScaleClass(191), 150);
    EXPECT_EQ(ScaleClass(192), 200);
    EXPECT_EQ(ScaleClass(300), 200);
    EXPECT_EQ(ScaleValue(120, 96), 120);
    EXPECT_EQ(ScaleValue(120, 144), 180);
    EXPECT_EQ(ScaleValue(49, 120), 61);  // truncated
}

}  // namespace
}  // namespace plintor
