#include "core/support/StringHelpers.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(HexTest, FixedWidthUpperCase) {
    EXPECT_EQ(HexOf32(0), "00000000");
    EXPECT_EQ(HexOf32(4294967295u), "FFFFFFFF");
    EXPECT_EQ(HexOf32(1033), "00000409");
    EXPECT_EQ(HexOf16(0xAB0C), "AB0C");
    EXPECT_EQ(HexOf8(0x0F), "0F");
}

TEST(MajorVersionTest, FirstNumberOrZero) {
    EXPECT_EQ(MajorVersion("11.0.17134.1"), 11);
    EXPECT_EQ(MajorVersion("9"), 9);
    EXPECT_EQ(MajorVersion(""), 0);
    EXPECT_EQ(MajorVersion("beta.1"), 0);
}

}  // namespace
}  // namespace plintor
