#pragma once

#include <optional>

#include "core/config/KioskSettings.h"
#include "core/support/HtmlColor.h"

namespace plintor {

// A length of the keyboard panel (its height, the keyboard's distance from its edge) in the
// configured keyboard size, in percent of the design's.
int keyboardSized(int pixels, int sizePercent);

// The colour the panels take; none when BackgroundColor is not set to a colour the program
// reads (then they keep their own).
std::optional<Color> panelColorOf(const KioskSettings& settings);

}  // namespace plintor
