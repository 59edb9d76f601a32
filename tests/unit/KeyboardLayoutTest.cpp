#include "core/keyboard/VirtualKeyLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace plintor {
namespace {

// The program's own descriptions, in the order the program finds them.
std::vector<TVirtualKeyLayout> BundledLayouts() {
    std::vector<TVirtualKeyLayout> layouts;
    for (const char* name : {"NUMPADKEYBOARD", "STANDARD101KEYBOARD", "STANDARD102KEYBOARD",
                             "STANDARD102KEYBOARD2", "STANDARD106KEYBOARD"}) {
        std::ifstream file(std::filesystem::path(PLINTOR_KEYBOARDS) / name);
        const std::string text((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        std::optional<TVirtualKeyLayout> layout = ParseVirtualKeyLayout(name, text);
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

TEST(KeyboardLayoutTest, BundledDescriptionsHaveTheirTypesSizesAndEvenRows) {
    const std::vector<TVirtualKeyLayout> layouts = BundledLayouts();
    ASSERT_EQ(layouts.size(), 5u);
    const struct {
        const char* Type;
        int Width, Height;
        std::size_t Languages;
    } expected[] = {{"NumPad", 190, 229, 0},
                    {"Standard", 848, 262, 10},
                    {"Standard", 848, 262, 30},
                    {"Standard2", 974, 262, 30},
                    {"Standard", 848, 262, 1}};
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        EXPECT_EQ(layouts[i].Type, expected[i].Type) << layouts[i].Name;
        EXPECT_EQ(layouts[i].Width, expected[i].Width) << layouts[i].Name;
        EXPECT_EQ(layouts[i].Height, expected[i].Height) << layouts[i].Name;
        EXPECT_EQ(layouts[i].Languages.size(), expected[i].Languages) << layouts[i].Name;
        for (const auto& row : layouts[i].Rows) {
            EXPECT_NEAR(RowWidth(row), RowWidth(layouts[i].Rows.front()), 0.01) << layouts[i].Name;
        }
    }
}

TEST(KeyboardLayoutTest, SelectionByLanguageThenTypeOnly) {
    const std::vector<TVirtualKeyLayout> layouts = BundledLayouts();
    const struct {
        const char* Type;
        const char* Locale;
        const char* Expected;  // nullptr: none
    } cases[] = {
        {"Standard", "de-DE", "STANDARD102KEYBOARD"},
        {"Standard", "en-US", "STANDARD101KEYBOARD"},
        {"Standard", "en-GB", "STANDARD102KEYBOARD"},
        {"Standard", "ja-JP", "STANDARD106KEYBOARD"},
        {"Standard", "zu-ZA", "STANDARD101KEYBOARD"},  // no language: the first of the type
        {"Standard", "", "STANDARD101KEYBOARD"},
        {"Standard2", "de-DE", "STANDARD102KEYBOARD2"},
        {"Standard2", "en-US", "STANDARD102KEYBOARD2"},
        {"NumPad", "de-DE", "NUMPADKEYBOARD"},
        {"Alphabetic", "de-DE", nullptr},
        {"standard", "de-DE", nullptr},  // types compare exactly
    };
    for (const auto& c : cases) {
        const TVirtualKeyLayout* layout = SelectKeyboardLayout(layouts, c.Type, c.Locale);
        EXPECT_EQ(layout != nullptr ? layout->Name : "none",
                  c.Expected != nullptr ? c.Expected : "none")
            << c.Type << " " << c.Locale;
    }
    const TVirtualKeyLayout* wide = SelectKeyboardLayout(layouts, "Standard2", "de-DE");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(KeyboardWidthFor(262, *wide), 974);
    EXPECT_EQ(KeyboardWidthFor(164, *wide), 610);  // 164 * 974 / 262 = 609.68, rounded
}

TEST(KeyboardLayoutTest, BrokenDescriptionsAreRefused) {
    for (const char* text :
         {"size=10x10\nrow=A", "type=Standard\nrow=A", "type=Standard\nsize=10x10",
          "type=Standard\nsize=10y10\nrow=A", "type=Standard\nsize=10x10\nrow=A:0",
          "type=Standard\nsize=0x10\nrow=A"}) {
        EXPECT_FALSE(ParseVirtualKeyLayout("X", text)) << text;
    }
    const std::optional<TVirtualKeyLayout> layout = ParseVirtualKeyLayout(
        "X", "# comment\ntype=T\nlanguages= de , en-GB \nsize=4x2\nrow=A B:1.5 -:0.5\n");
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->Languages, (std::vector<std::string>{"de", "en-GB"}));
    EXPECT_EQ(layout->Rows.at(0).at(1).Width, 1.5);
}

}  // namespace
}  // namespace plintor
