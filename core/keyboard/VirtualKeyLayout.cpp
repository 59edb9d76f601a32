#include "core/keyboard/VirtualKeyLayout.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "core/support/TextCase.h"

namespace plintor {

namespace {

std::vector<std::string> splitList(std::string_view text, char separator) {
    std::vector<std::string> items;
    std::stringstream stream{std::string(text)};
    std::string item;
    while (std::getline(stream, item, separator)) {
        if (const std::string_view trimmed = trim(item); !trimmed.empty()) {
            items.emplace_back(trimmed);
        }
    }
    return items;
}

std::optional<VirtualKey> parseKey(const std::string& text) {
    const std::size_t colon = text.find(':');
    VirtualKey key{text.substr(0, colon), 1};
    if (colon != std::string::npos) {
        const std::string width = text.substr(colon + 1);
        const auto [end, error] =
            std::from_chars(width.data(), width.data() + width.size(), key.width);
        if (error != std::errc() || end != width.data() + width.size() || key.width <= 0) {
            return std::nullopt;
        }
    }
    return key.name.empty() ? std::nullopt : std::optional<VirtualKey>(key);
}

bool parseSize(std::string_view text, VirtualKeyLayout& layout) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const auto [endWidth, errorWidth] = std::from_chars(text.data(), text.data() + x, layout.width);
    const auto [endHeight, errorHeight] =
        std::from_chars(text.data() + x + 1, text.data() + text.size(), layout.height);
    return errorWidth == std::errc() && errorHeight == std::errc() && endWidth == text.data() + x &&
           endHeight == text.data() + text.size() && layout.width > 0 && layout.height > 0;
}

bool parseRow(std::string_view text, VirtualKeyLayout& layout) {
    std::vector<VirtualKey> row;
    for (const std::string& item : splitList(text, ' ')) {
        std::optional<VirtualKey> key = parseKey(item);
        if (!key) {
            return false;
        }
        row.push_back(*key);
    }
    layout.rows.push_back(std::move(row));
    return !layout.rows.back().empty();
}

const VirtualKeyLayout* findByLanguage(const std::vector<VirtualKeyLayout>& layouts,
                                       std::string_view type, std::string_view language) {
    for (auto layout = layouts.rbegin(); layout != layouts.rend(); ++layout) {
        if (layout->type != type) {
            continue;
        }
        for (const std::string& code : layout->languages) {
            if (code == language) {
                return &*layout;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::optional<VirtualKeyLayout> parseVirtualKeyLayout(std::string_view name,
                                                      std::string_view text) {
    VirtualKeyLayout layout;
    layout.name = name;
    bool sized = false;
    for (const std::string& rawLine : splitList(text, '\n')) {
        const std::string_view line = trim(rawLine);
        const std::size_t equals = line.find('=');
        if (line.starts_with('#') || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        if (key == "type") {
            layout.type = value;
        } else if (key == "languages") {
            layout.languages = splitList(value, ',');
        } else if (key == "size") {
            sized = parseSize(value, layout);
            if (!sized) {
                return std::nullopt;
            }
        } else if (key == "row" && !parseRow(value, layout)) {
            return std::nullopt;
        }
    }
    if (layout.type.empty() || !sized || layout.rows.empty()) {
        return std::nullopt;
    }
    return layout;
}

const VirtualKeyLayout* selectKeyboardLayout(const std::vector<VirtualKeyLayout>& layouts,
                                             std::string_view type, std::string_view localeName) {
    if (!localeName.empty()) {
        if (const VirtualKeyLayout* found = findByLanguage(layouts, type, localeName)) {
            return found;
        }
        if (const VirtualKeyLayout* found =
                findByLanguage(layouts, type, localeName.substr(0, localeName.find('-')))) {
            return found;
        }
    }
    for (const VirtualKeyLayout& layout : layouts) {
        if (layout.type == type) {
            return &layout;
        }
    }
    return nullptr;
}

int keyboardWidthFor(int height, const VirtualKeyLayout& layout) {
    return static_cast<int>(
        std::lround(static_cast<double>(height) * layout.width / layout.height));
}

}  // namespace plintor
