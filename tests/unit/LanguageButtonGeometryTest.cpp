#include "core/keyboard/LanguageButtonGeometry.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(LanguageButtonGeometryTest, ScaledByScreenAndKeyboardSize) {
    const LanguageButtonGeometry normal = languageButtonGeometry(100, 96);
    EXPECT_EQ(normal.width, 128);
    EXPECT_EQ(normal.height, 28);
    EXPECT_EQ(normal.margin, 8);
    EXPECT_EQ(normal.spacing, 4);
    EXPECT_EQ(normal.fontPoints, 8);
    const LanguageButtonGeometry big = languageButtonGeometry(200, 96);
    EXPECT_EQ(big.width, 256);
    EXPECT_EQ(big.height, 56);
    EXPECT_EQ(big.fontPoints, 16);
    const LanguageButtonGeometry dense = languageButtonGeometry(150, 144);
    EXPECT_EQ(dense.width, 288);  // 1.5 * 192
    EXPECT_EQ(dense.height, 63);  // 1.5 * 42
    EXPECT_EQ(dense.fontPoints, 12);
}

}  // namespace
}  // namespace plintor
