#include "core/support/HtmlColor.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(ParseHtmlColorTest, ReadsRedGreenBlueIntoAWindowsColour) {
    constexpr TColor fallback = 0x123456;
    EXPECT_EQ(ParseHtmlColor("#FF0000", fallback), 0x0000FF);  // red in the lowest byte
    EXPECT_EQ(ParseHtmlColor("#FF8000", fallback), 0x0080FF);
    EXPECT_EQ(ParseHtmlColor("ff", fallback), 0xFF0000);  // 0000ff: blue
    EXPECT_EQ(ParseHtmlColor("  # 00ff00 ", fallback), 0x00FF00);
    EXPECT_EQ(ParseHtmlColor("#12FF0000", fallback), 0x0000FF);  // the last six digits count
    for (const char* invalid : {"#", "   ", "", "red", "#GG0000", "-12345"}) {
        EXPECT_EQ(ParseHtmlColor(invalid, fallback), fallback) << invalid;
    }
}

}  // namespace
}  // namespace plintor
