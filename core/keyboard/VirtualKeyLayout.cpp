#include "core/keyboard/VirtualKeyLayout.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "core/support/TextCase.h"

namespace plintor {

namespace {

std::vector<std::string> SplitList(std::string_view text, char separator) {
    std::vector<std::string> items;
    std::stringstream stream{std::string(text)};
    std::string item;
    while (std::getline(stream, item, separator)) {
        if (const std::string_view trimmed = Trim(item); !trimmed.empty()) {
            items.emplace_back(trimmed);
        }
    }
    return items;
}

std::optional<TVirtualKey> ParseKey(const std::string& text) {
    const std::size_t colon = text.find(':');
    TVirtualKey key{text.substr(0, colon), 1};
    if (colon != std::string::npos) {
        const std::string width = text.substr(colon + 1);
        const auto [end, error] =
            std::from_chars(width.data(), width.data() + width.size(), key.Width);
        if (error != std::errc() || end != width.data() + width.size() || key.Width <= 0) {
            return std::nullopt;
        }
    }
    return key.Name.empty() ? std::nullopt : std::optional<TVirtualKey>(key);
}

bool ParseSize(std::string_view text, TVirtualKeyLayout& layout) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const auto [endWidth, errorWidth] = std::from_chars(text.data(), text.data() + x, layout.Width);
    const auto [endHeight, errorHeight] =
        std::from_chars(text.data() + x + 1, text.data() + text.size(), layout.Height);
    return errorWidth == std::errc() && errorHeight == std::errc() && endWidth == text.data() + x &&
           endHeight == text.data() + text.size() && layout.Width > 0 && layout.Height > 0;
}

bool ParseRow(std::string_view text, TVirtualKeyLayout& layout) {
    std::vector<TVirtualKey> row;
    for (const std::string& item : SplitList(text, ' ')) {
        std::optional<TVirtualKey> key = ParseKey(item);
        if (!key) {
            return false;
        }
        row.push_back(*key);
    }
    layout.Rows.push_back(std::move(row));
    return !layout.Rows.back().empty();
}

const TVirtualKeyLayout* FindByLanguage(const std::vector<TVirtualKeyLayout>& layouts,
                                        std::string_view type, std::string_view language) {
    for (auto layout = layouts.rbegin(); layout != layouts.rend(); ++layout) {
        if (layout->Type != type) {
            continue;
        }
        for (const std::string& code : layout->Languages) {
            if (code == language) {
                return &*layout;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::optional<TVirtualKeyLayout> ParseVirtualKeyLayout(std::string_view name,
                                                       std::string_view text) {
    TVirtualKeyLayout layout;
    layout.Name = name;
    bool sized = false;
    for (const std::string& rawLine : SplitList(text, '\n')) {
        const std::string_view line = Trim(rawLine);
        const std::size_t equals = line.find('=');
        if (line.starts_with('#') || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (key == "type") {
            layout.Type = value;
        } else if (key == "languages") {
            layout.Languages = SplitList(value, ',');
        } else if (key == "size") {
            sized = ParseSize(value, layout);
            if (!sized) {
                return std::nullopt;
            }
        } else if (key == "row" && !ParseRow(value, layout)) {
            return std::nullopt;
        }
    }
    if (layout.Type.empty() || !sized || layout.Rows.empty()) {
        return std::nullopt;
    }
    return layout;
}

const TVirtualKeyLayout* SelectKeyboardLayout(const std::vector<TVirtualKeyLayout>& layouts,
                                              std::string_view type, std::string_view localeName) {
    if (!localeName.empty()) {
        if (const TVirtualKeyLayout* found = FindByLanguage(layouts, type, localeName)) {
            return found;
        }
        if (const TVirtualKeyLayout* found =
                FindByLanguage(layouts, type, localeName.substr(0, localeName.find('-')))) {
            return found;
        }
    }
    for (const TVirtualKeyLayout& layout : layouts) {
        if (layout.Type == type) {
            return &layout;
        }
    }
    return nullptr;
}

int KeyboardWidthFor(int height, const TVirtualKeyLayout& layout) {
    return static_cast<int>(
        std::lround(static_cast<double>(height) * layout.Width / layout.Height));
}

}  // namespace plintor
