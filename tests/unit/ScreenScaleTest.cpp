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

// Nine millimetres, never less: 34 pixels at 96 per inch would be 8.996 mm.
TEST(ScreenScaleTest, TouchTargetReachesNineMillimetres) {
    const struct {
        const char* reason;
        int pixelsPerInch;
        int pixels;
    } rows[] = {
        {"design screen, rounded up", 96, 35}, {"one and a half", 144, 52},
        {"twice the design", 192, 69},         {"a coarse screen", 72, 26},
        {"a fine phone-like panel", 400, 142}, {"exactly 90 pixels, not 91", 254, 90},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(touchTargetPixels(row.pixelsPerInch), row.pixels) << row.reason;
        EXPECT_GE(row.pixels * 25.4 / row.pixelsPerInch, TouchTargetMillimetres) << row.reason;
    }
}

}  // namespace
}  // namespace plintor
