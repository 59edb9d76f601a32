#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace plintor {

// A whole text as a signed 32-bit integer: an optional sign, then decimal digits or a
// hexadecimal number introduced by "$", "x", "X", "0x" or "0X". Hexadecimal numbers may use
// all 32 bits (so $FFFFFFFF is -1); decimal ones must lie within the signed range.
std::optional<std::int32_t> parseInteger(std::string_view text);

}  // namespace plintor
