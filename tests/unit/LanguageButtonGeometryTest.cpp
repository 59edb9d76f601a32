#include "core/keyboard/LanguageButtonGeometry.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(LanguageButtonGeometryTest, ScaledByScreenAndKeyboardSize) {
    const TLanguageButtonGeometry normal = LanguageButtonGeometry(100, 96);
    EXPECT_EQ(normal.Width, 128);
    EXPECT_EQ(normal.Height, 28);
    EXPECT_EQ(normal.Margin, 8);
    EXPECT_EQ(normal.Spacing, 4);
    EXPECT_EQ(normal.FontPoints, 8);
    const TLanguageButtonGeometry big = LanguageButtonGeometry(200, 96);
    EXPECT_EQ(big.Width, 256);
    EXPECT_EQ(big.Height, 56);
    EXPECT_EQ(big.FontPoints, 16);
    const TLanguageButtonGeometry dense = LanguageButtonGeometry(150, 144);
    EXPECT_EQ(dense.Width, 288);  // 1.5 * 192
    EXPECT_EQ(dense.Height, 63);  // 1.5 * 42
    EXPECT_EQ(dense.FontPoints, 12);
}

}  // namespace
}  // namespace plintor
