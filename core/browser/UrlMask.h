#pragma once

#include <string_view>

namespace plintor {

enum class MaskMatch { NoMatch, Match, Invalid };

// Deny masks use the whole mask language. In an allow mask, a "*" before the mask's first
// "://" stands for scheme characters only: that part of the mask must match the address's
// scheme (its text before its first "://", made of letters, digits, "+", "-" and "."), so
// "*://library.example/*" cannot be met by "http://evil.example/://library.example/x".
enum class MaskRole { Allow, Deny };

// Wildcard masks over a whole address: "*" any run, "?" one character, "[a-z]" and "[!a-z]"
// sets (only characters up to code 255 belong to sets); ASCII letters match in either case.
// A set without "]", an empty set, a set starting with "-" or more than 30 runs of "*" make
// the mask invalid.
MaskMatch urlMaskMatch(std::string_view key, std::string_view mask, MaskRole role = MaskRole::Deny);

bool isValidMask(std::string_view mask);

constexpr int MaxStarRuns = 30;

}  // namespace plintor
