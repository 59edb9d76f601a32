#include "core/support/HtmlColor.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

constexpr Color Fallback = 0x123456;

TEST(ParseHtmlColorTest, ReadsRedGreenBlueIntoAWindowsColour) {
    EXPECT_EQ(parseHtmlColor("#FF0000", Fallback), 0x0000FF);  // red in the lowest byte
    EXPECT_EQ(parseHtmlColor("#FF8000", Fallback), 0x0080FF);
    EXPECT_EQ(parseHtmlColor("ff", Fallback), 0xFF0000);  // 0000ff: blue
    EXPECT_EQ(parseHtmlColor("  # 00ff00 ", Fallback), 0x00FF00);
    EXPECT_EQ(parseHtmlColor("#12FF0000", Fallback), 0x0000FF);  // the last six digits count
}

struct InvalidCase {
    const char* name;
    const char* text;
};

const InvalidCase InvalidCases[] = {
    {"HashAlone", "#"},    {"Blanks", "   "},     {"EmptyText", ""},
    {"ColourName", "red"}, {"NotHex", "#GG0000"}, {"Negative", "-12345"},
};

class InvalidHtmlColorTest : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidHtmlColorTest, GivesTheFallback) {
    EXPECT_EQ(parseHtmlColor(GetParam().text, Fallback), Fallback);
}

INSTANTIATE_TEST_SUITE_P(Texts, InvalidHtmlColorTest, ::testing::ValuesIn(InvalidCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
