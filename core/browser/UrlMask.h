#pragma once

#include <string_view>

namespace plintor {

enum class TMaskMatch { NoMatch, Match, Invalid };

// Wildcard masks over a whole address: "*" any run, "?" one character, "[a-z]" and "[!a-z]"
// sets (only characters up to code 255 belong to sets); ASCII letters match in either case.
// A set without "]", an empty set, a set starting with "-" or more than 30 runs of "*" make
// the mask invalid.
TMaskMatch UrlMaskMatch(std::string_view key, std::string_view mask);

bool IsValidMask(std::string_view mask);

constexpr int MaxStarRuns = 30;

}  // namespace plintor
