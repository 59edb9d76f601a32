#include "core/support/StringHelpers.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(HexTest, FixedWidthUpperCase) {
    EXPECT_EQ(hexOf32(0), "00000000");
    EXPECT_EQ(hexOf32(4294967295u), "FFFFFFFF");
    EXPECT_EQ(hexOf32(1033), "00000409");
    EXPECT_EQ(hexOf16(0xAB0C), "AB0C");
    EXPECT_EQ(hexOf8(0x0F), "0F");
}

TEST(MajorVersionTest, FirstNumberOrZero) {
    EXPECT_EQ(majorVersion("11.0.17134.1"), 11);
    EXPECT_EQ(majorVersion("9"), 9);
    EXPECT_EQ(majorVersion(""), 0);
    EXPECT_EQ(majorVersion("beta.1"), 0);
}

}  // namespace
}  // namespace plintor
