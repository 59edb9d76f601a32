#pragma once

#include <cstdint>
#include <string_view>

namespace plintor {

// A colour with red in the lowest byte, green in the next and blue in the third.
using Color = std::int32_t;

// "#RRGGBB" or "RRGGBB" (shorter texts are padded with zeros on the left, longer ones use
// their last six characters) to a colour; `defaultColor` for an empty or non-hexadecimal text.
Color parseHtmlColor(std::string_view text, Color defaultColor);

}  // namespace plintor
