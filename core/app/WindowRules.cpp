#include "core/app/WindowRules.h"

namespace plintor {

int KeyboardSized(int pixels, int sizePercent) {
    return pixels * sizePercent / 100;
}

std::optional<TColor> PanelColorOf(const TSettings& settings) {
    constexpr TColor unset = -1;
    const TColor color = ParseHtmlColor(settings.BackgroundColor, unset);
    return color == unset ? std::nullopt : std::optional<TColor>(color);
}

}  // namespace plintor
