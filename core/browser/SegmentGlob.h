#pragma once

#include <string_view>

namespace plintor {

// The same answer as maskTextMatches for a valid mask, in time linear in the key's length (times
// the longest run of the mask between two "*" over 64): the pieces between the "*" are found one
// after the other at their leftmost place, each with a bit-parallel scan. The plain walk
// backtracks and can take the product of both lengths, which a long mask against a long address
// makes minutes.
bool segmentMaskMatches(std::string_view mask, std::u32string_view key);

}  // namespace plintor
