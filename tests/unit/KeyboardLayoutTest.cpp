#include "core/keyboard/VirtualKeyLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

// The program's own descriptions, in the order the program finds them.
const char* const BundledNames[] = {"NUMPADKEYBOARD", "STANDARD101KEYBOARD", "STANDARD102KEYBOARD",
                                    "STANDARD102KEYBOARD2", "STANDARD106KEYBOARD"};

std::optional<TVirtualKeyLayout> BundledLayout(const char* name) {
    std::ifstream file(std::filesystem::path(PLINTOR_KEYBOARDS) / name);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return ParseVirtualKeyLayout(name, text);
}

std::vector<TVirtualKeyLayout> BundledLayouts() {
    std::vector<TVirtualKeyLayout> layouts;
    for (const char* name : BundledNames) {
        std::optional<TVirtualKeyLayout> layout = BundledLayout(name);
        EXPECT_TRUE(layout) << name;
        if (layout) {
            layouts.push_back(std::move(*layout));
        }
    }
    return layouts;
}

double RowWidth(const std::vector<TVirtualKey>& row) {
    double width = 0;
    for (const TVirtualKey& key : row) {
        width += key.Width;
    }
    return width;
}

struct TBundledCase {
    const char* Name;  // the description's file
    const char* Type;
    int Width, Height;
    std::size_t Languages;
};

const TBundledCase BundledCases[] = {
    {"NUMPADKEYBOARD", "NumPad", 190, 229, 0},
    {"STANDARD101KEYBOARD", "Standard", 848, 262, 10},
    {"STANDARD102KEYBOARD", "Standard", 848, 262, 30},
    {"STANDARD102KEYBOARD2", "Standard2", 974, 262, 30},
    {"STANDARD106KEYBOARD", "Standard", 848, 262, 1},
};

class BundledLayoutTest : public ::testing::TestWithParam<TBundledCase> {};

TEST_P(BundledLayoutTest, BundledDescriptionsHaveTheirTypesSizesAndEvenRows) {
    const std::optional<TVirtualKeyLayout> layout = BundledLayout(GetParam().Name);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->Type, GetParam().Type);
    EXPECT_EQ(layout->Width, GetParam().Width);
    EXPECT_EQ(layout->Height, GetParam().Height);
    EXPECT_EQ(layout->Languages.size(), GetParam().Languages);
    for (const auto& row : layout->Rows) {
        EXPECT_NEAR(RowWidth(row), RowWidth(layout->Rows.front()), 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(Descriptions, BundledLayoutTest, ::testing::ValuesIn(BundledCases),
                         test::TRowName());

struct TSelectionCase {
    const char* Name;
    const char* Type;
    const char* Locale;
    const char* Expected;  // nullptr: none
};

const TSelectionCase SelectionCases[] = {
    {"GermanStandard", "Standard", "de-DE", "STANDARD102KEYBOARD"},
    {"AmericanStandard", "Standard", "en-US", "STANDARD101KEYBOARD"},
    {"BritishStandard", "Standard", "en-GB", "STANDARD102KEYBOARD"},
    {"JapaneseStandard", "Standard", "ja-JP", "STANDARD106KEYBOARD"},
    {"UnknownLanguageTakesTheFirstOfTheType", "Standard", "zu-ZA", "STANDARD101KEYBOARD"},
    {"NoLocaleTakesTheFirstOfTheType", "Standard", "", "STANDARD101KEYBOARD"},
    {"GermanStandard2", "Standard2", "de-DE", "STANDARD102KEYBOARD2"},
    {"AmericanStandard2", "Standard2", "en-US", "STANDARD102KEYBOARD2"},
    {"GermanNumPad", "NumPad", "de-DE", "NUMPADKEYBOARD"},
    {"UnknownType", "Alphabetic", "de-DE", nullptr},
    {"TypesCompareExactly", "standard", "de-DE", nullptr},
};

class LayoutSelectionTest : public ::testing::TestWithParam<TSelectionCase> {};

TEST_P(LayoutSelectionTest, SelectionByLanguageThenTypeOnly) {
    const std::vector<TVirtualKeyLayout> layouts = BundledLayouts();
    const TVirtualKeyLayout* layout =
        SelectKeyboardLayout(layouts, GetParam().Type, GetParam().Locale);
    EXPECT_EQ(layout != nullptr ? layout->Name : "none",
              GetParam().Expected != nullptr ? GetParam().Expected : "none");
}

INSTANTIATE_TEST_SUITE_P(Locales, LayoutSelectionTest, ::testing::ValuesIn(SelectionCases),
                         test::TRowName());

TEST(KeyboardLayoutTest, WidthKeepsTheDescriptionsProportions) {
    const std::vector<TVirtualKeyLayout> layouts = BundledLayouts();
    const TVirtualKeyLayout* wide = SelectKeyboardLayout(layouts, "Standard2", "de-DE");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(KeyboardWidthFor(262, *wide), 974);
    EXPECT_EQ(KeyboardWidthFor(164, *wide), 610);  // 164 * 974 / 262 = 609.68, rounded
}

struct TBrokenCase {
    const char* Name;
    const char* Text;
};

const TBrokenCase BrokenCases[] = {
    {"NoType", "size=10x10\nrow=A"},
    {"NoSize", "type=Standard\nrow=A"},
    {"NoRow", "type=Standard\nsize=10x10"},
    {"SizeWithoutX", "type=Standard\nsize=10y10\nrow=A"},
    {"KeyOfNoWidth", "type=Standard\nsize=10x10\nrow=A:0"},
    {"KeyboardOfNoWidth", "type=Standard\nsize=0x10\nrow=A"},
};

class BrokenLayoutTest : public ::testing::TestWithParam<TBrokenCase> {};

TEST_P(BrokenLayoutTest, BrokenDescriptionsAreRefused) {
    EXPECT_FALSE(ParseVirtualKeyLayout("X", GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(Texts, BrokenLayoutTest, ::testing::ValuesIn(BrokenCases),
                         test::TRowName());

TEST(KeyboardLayoutTest, CommentsBlanksAndKeyWidthsAreRead) {
    const std::optional<TVirtualKeyLayout> layout = ParseVirtualKeyLayout(
        "X", "# comment\ntype=T\nlanguages= de , en-GB \nsize=4x2\nrow=A B:1.5 -:0.5\n");
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->Languages, (std::vector<std::string>{"de", "en-GB"}));
    EXPECT_EQ(layout->Rows.at(0).at(1).Width, 1.5);
}

}  // namespace
}  // namespace plintor
