#pragma once

#include <cstddef>
#include <string_view>

#include "core/support/TextCodec.h"

namespace plintor {

// ASCII letters compare without regard to case: masks and keys are both folded to upper case.
constexpr char32_t foldAscii(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

// Masks and keys are compared as code points; a byte that does not start valid UTF-8 stands
// for the code point of the same value.
inline char32_t readCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
        ++pos;
        return byte;
    }
    const char32_t cp = nextCodePoint(text, pos);
    return cp == InvalidUtf8 ? byte : cp;
}

// One element of a mask, read straight from the mask's text, with the meaning urlMaskMatch
// gives it. The text is the compiled form: reading a token costs no more than fetching a
// prepared one, and the masks are not stored twice.
struct MaskToken {
    enum Kind { Literal, AnyChar, AnyRun, Set, Invalid };
    Kind kind = Literal;
    char32_t codePoint = 0;    // Literal: the folded code point
    std::string_view members;  // Set: the text between "[" or "[!" and "]"
    bool negated = false;      // Set
    int starRuns = 0;          // AnyRun: how many runs of "*" it merges ("*?*" holds two)
    std::size_t next = 0;      // where the following token starts
};

// Reads the token that starts at byte `pos` (< mask.size()).
MaskToken readMaskToken(std::string_view mask, std::size_t pos);

// Whether a token other than AnyRun accepts the folded code point `c`.
bool tokenAccepts(const MaskToken& token, char32_t c);

}  // namespace plintor
