#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// One key of an on-screen keyboard: the physical key it stands for (its XKB name, such as
// AE01 or LFSH) and its width in key units.
struct VirtualKey {
    std::string name;
    double width = 1;
};

// A keyboard layout description: its type ("Standard", "Standard2", "NumPad"), the languages
// it suits (language codes, such as "de" or "en-GB"), its nominal size (which gives the
// keyboard's proportions) and its rows of keys.
struct VirtualKeyLayout {
    std::string name;
    std::string type;
    std::vector<std::string> languages;
    int width = 0;
    int height = 0;
    std::vector<std::vector<VirtualKey>> rows;
};

// Reads a description: lines "type=", "languages=" (comma-separated), "size=<w>x<h>" and
// one "row=" per row of keys ("AE01 AE02 BKSP:2"); "#" starts a comment line. None when the
// text lacks its type, size or rows.
std::optional<VirtualKeyLayout> parseVirtualKeyLayout(std::string_view name, std::string_view text);

// The description for a keyboard type and the current input language ("de-DE"): searched
// from the last description to the first, first by the full name, then by the language
// alone, else the first description of the type; none when no description has that type.
const VirtualKeyLayout* selectKeyboardLayout(const std::vector<VirtualKeyLayout>& layouts,
                                             std::string_view type, std::string_view localeName);

// The keyboard's width for a height, keeping the description's proportions (rounded).
int keyboardWidthFor(int height, const VirtualKeyLayout& layout);

}  // namespace plintor
