#pragma once

#include <string_view>

#include "core/browser/UrlMask.h"

namespace plintor {

// Whether a valid mask, read from its text, matches the whole key given as folded code points
// (see TMatchKey). Gives the same answer as UrlMaskMatch.
bool MaskTextMatches(std::string_view mask, std::u32string_view key);
bool MaskTextMatches(std::string_view mask, std::u32string_view key, TMaskRole role);

}  // namespace plintor
