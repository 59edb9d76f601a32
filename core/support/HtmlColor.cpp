#include "core/support/HtmlColor.h"

#include <string>

#include "core/support/NumberText.h"
#include "core/support/TextCase.h"

namespace plintor {

Color parseHtmlColor(std::string_view text, Color defaultColor) {
    text = trim(text);
    if (text.starts_with('#')) {
        text = trim(text.substr(1));
    }
    if (text.empty()) {
        return defaultColor;
    }
    std::string digits(text);
    if (digits.size() < 6) {
        digits.insert(0, 6 - digits.size(), '0');
    }
    const std::string_view rgb = std::string_view(digits).substr(digits.size() - 6);
    const std::string bgr = std::string("$") + std::string(rgb.substr(4, 2)) +
                            std::string(rgb.substr(2, 2)) + std::string(rgb.substr(0, 2));
    return parseInteger(bgr).value_or(defaultColor);
}

}  // namespace plintor
