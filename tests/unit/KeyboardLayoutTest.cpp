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

std::optional<VirtualKeyLayout> bundledLayout(const char* name) {
    std::ifstream file(std::filesystem::path(PLINTOR_KEYBOARDS) / name);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return parseVirtualKeyLayout(name, text);
}

std::vector<VirtualKeyLayout> bundledLayouts() {
    std::vector<VirtualKeyLayout> layouts;
    for (const char* name : BundledNames) {
        std::optional<VirtualKeyLayout> layout = bundledLayout(name);
        EXPECT_TRUE(layout) << name;
        if (layout) {
            layouts.push_back(std::move(*layout));
        }
    }
    return layouts;
}

double rowWidth(const std::vector<VirtualKey>& row) {
    double width = 0;
    for (const VirtualKey& key : row) {
        width += key.width;
    }
    return width;
}

struct BundledCase {
    const char* name;  // the description's file
    const char* type;
    int width, height;
    std::size_t languages;
};

const BundledCase BundledCases[] = {
    {"NUMPADKEYBOARD", "NumPad", 190, 229, 0},
    {"STANDARD101KEYBOARD", "Standard", 848, 262, 10},
    {"STANDARD102KEYBOARD", "Standard", 848, 262, 30},
    {"STANDARD102KEYBOARD2", "Standard2", 974, 262, 30},
    {"STANDARD106KEYBOARD", "Standard", 848, 262, 1},
};

class BundledLayoutTest : public ::testing::TestWithParam<BundledCase> {};

TEST_P(BundledLayoutTest, BundledDescriptionsHaveTheirTypesSizesAndEvenRows) {
    const std::optional<VirtualKeyLayout> layout = bundledLayout(GetParam().name);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->type, GetParam().type);
    EXPECT_EQ(layout->width, GetParam().width);
    EXPECT_EQ(layout->height, GetParam().height);
    EXPECT_EQ(layout->languages.size(), GetParam().languages);
    for (const auto& row : layout->rows) {
        EXPECT_NEAR(rowWidth(row), rowWidth(layout->rows.front()), 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(Descriptions, BundledLayoutTest, ::testing::ValuesIn(BundledCases),
                         test::RowName());

struct SelectionCase {
    const char* name;
    const char* type;
    const char* locale;
    const char* expected;  // nullptr: none
};

const SelectionCase SelectionCases[] = {
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

class LayoutSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(LayoutSelectionTest, SelectionByLanguageThenTypeOnly) {
    const std::vector<VirtualKeyLayout> layouts = bundledLayouts();
    const VirtualKeyLayout* layout =
        selectKeyboardLayout(layouts, GetParam().type, GetParam().locale);
    EXPECT_EQ(layout != nullptr ? layout->name : "none",
              GetParam().expected != nullptr ? GetParam().expected : "none");
}

INSTANTIATE_TEST_SUITE_P(Locales, LayoutSelectionTest, ::testing::ValuesIn(SelectionCases),
                         test::RowName());

TEST(KeyboardLayoutTest, WidthKeepsTheDescriptionsProportions) {
    const std::vector<VirtualKeyLayout> layouts = bundledLayouts();
    const VirtualKeyLayout* wide = selectKeyboardLayout(layouts, "Standard2", "de-DE");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(keyboardWidthFor(262, *wide), 974);
    EXPECT_EQ(keyboardWidthFor(164, *wide), 610);  // 164 * 974 / 262 = 609.68, rounded
}

struct BrokenCase {
    const char* name;
    const char* text;
};

const BrokenCase BrokenCases[] = {
    {"NoType", "size=10x10\nrow=A"},
    {"NoSize", "type=Standard\nrow=A"},
    {"NoRow", "type=Standard\nsize=10x10"},
    {"SizeWithoutX", "type=Standard\nsize=10y10\nrow=A"},
    {"KeyOfNoWidth", "type=Standard\nsize=10x10\nrow=A:0"},
    {"KeyboardOfNoWidth", "type=Standard\nsize=0x10\nrow=A"},
};

class BrokenLayoutTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenLayoutTest, BrokenDescriptionsAreRefused) {
    EXPECT_FALSE(parseVirtualKeyLayout("X", GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Texts, BrokenLayoutTest, ::testing::ValuesIn(BrokenCases),
                         test::RowName());

TEST(KeyboardLayoutTest, CommentsBlanksAndKeyWidthsAreRead) {
    const std::optional<VirtualKeyLayout> layout = parseVirtualKeyLayout(
        "X", "# comment\ntype=T\nlanguages= de , en-GB \nsize=4x2\nrow=A B:1.5 -:0.5\n");
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->languages, (std::vector<std::string>{"de", "en-GB"}));
    EXPECT_EQ(layout->rows.at(0).at(1).width, 1.5);
}

}  // namespace
}  // namespace plintor
