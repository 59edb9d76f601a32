#pragma once

#include <string_view>

#include "core/browser/UrlMask.h"

namespace plintor {

// Whether a valid mask, read from its text, matches the whole key given as folded code points
// (see MatchKey). Gives the same answer as urlMaskMatch.
bool maskTextMatches(std::string_view mask, std::u32string_view key);
bool maskTextMatches(std::string_view mask, std::u32string_view key, MaskRole role);

}  // namespace plintor
