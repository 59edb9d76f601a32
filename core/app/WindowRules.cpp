#include "core/app/WindowRules.h"

namespace plintor {

int keyboardSized(int pixels, int sizePercent) {
    return pixels * sizePercent / 100;
}

std::optional<Color> panelColorOf(const KioskSettings& settings) {
    constexpr Color unset = -1;
    const Color color = parseHtmlColor(settings.backgroundColor, unset);
    return color == unset ? std::nullopt : std::optional<Color>(color);
}

}  // namespace plintor
