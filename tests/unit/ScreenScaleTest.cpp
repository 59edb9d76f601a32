#include "core/support/ScreenScale.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(ScreenScaleTest, ClassesAndValues) {
    EXPECT_EQ(scaleClass(96), 100);
    EXPECT_EQ(scaleClass(120), 100);
    EXPECT_EQ(scaleClass(143), 100);
    EXPECT_EQ(scaleClass(144), 150);
    EXPECT_EQ(scaleClass(191), 150);
    EXPECT_EQ(scaleClass(192), 200);
    EXPECT_EQ(scaleClass(300), 200);
    EXPECT_EQ(scaleValue(120, 96), 120);
    EXPECT_EQ(scaleValue(120, 144), 180);
    EXPECT_EQ(scaleValue(49, 120), 61);  // truncated
}

}  // namespace
}  // namespace plintor
