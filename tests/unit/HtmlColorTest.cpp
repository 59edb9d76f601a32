#include "core/support/HtmlColor.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

constexpr TColor Fallback = 0x123456;

TEST(ParseHtmlColorTest, ReadsRedGreenBlueIntoAWindowsColour) {
    EXPECT_EQ(ParseHtmlColor("#FF0000", Fallback), 0x0000FF);  // red in the lowest byte
    EXPECT_EQ(ParseHtmlColor("#FF8000", Fallback), 0x0080FF);
    EXPECT_EQ(ParseHtmlColor("ff", Fallback), 0xFF0000);  // 0000ff: blue
    EXPECT_EQ(ParseHtmlColor("  # 00ff00 ", Fallback), 0x00FF00);
    EXPECT_EQ(ParseHtmlColor("#12FF0000", Fallback), 0x0000FF);  // the last six digits count
}

struct TInvalidCase {
    const char* Name;
    const char* Text;
};

const TInvalidCase InvalidCases[] = {
    {"HashAlone", "#"},    {"Blanks", "   "},     {"EmptyText", ""},
    {"ColourName", "red"}, {"NotHex", "#GG0000"}, {"Negative", "-12345"},
};

class InvalidHtmlColorTest : public ::testing::TestWithParam<TInvalidCase> {};

TEST_P(InvalidHtmlColorTest, GivesTheFallback) {
    EXPECT_EQ(ParseHtmlColor(GetParam().Text, Fallback), Fallback);
}

INSTANTIATE_TEST_SUITE_P(Texts, InvalidHtmlColorTest, ::testing::ValuesIn(InvalidCases),
                         test::TRowName());

}  // namespace
}  // namespace plintor
