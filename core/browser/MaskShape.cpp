#include "core/browser/MaskShape.h"

#include <algorithm>

#include "core/browser/MaskToken.h"
#include "core/browser/UrlMask.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

// Whether the text is already the folded UTF-8 form of its own code points.
bool isCanonicalText(std::u32string_view codes, std::string_view text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (const char32_t c : codes) {
        appendUtf8(encoded, c);
    }
    return encoded == text;
}

// Most of a mask is ASCII text that stands for itself; it needs no token.
bool isPlainAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != '*' && c != '?' && c != '[';
}

void endRun(MaskShape& shape, std::uint32_t& runStart) {
    const auto end = static_cast<std::uint32_t>(shape.literals.size());
    if (end > runStart) {
        shape.runs.push_back({runStart, end - runStart});
    }
    runStart = end;
}

}  // namespace

std::uint32_t MaskShape::longestRun() const {
    std::uint32_t longest = 0;
    for (const Run& run : runs) {
        longest = std::max(longest, run.length);
    }
    return longest;
}

void describeMask(std::string_view mask, MaskShape& shape) {
    shape.valid = false;
    shape.exact = false;
    shape.literals.clear();
    shape.runs.clear();
    bool wildcard = false;
    int starRuns = 0;
    std::uint32_t runStart = 0;
    for (std::size_t pos = 0; pos < mask.size();) {
        if (isPlainAscii(mask[pos])) {
            shape.literals += foldAscii(static_cast<unsigned char>(mask[pos++]));
            continue;
        }
        const MaskToken token = readMaskToken(mask, pos);
        if (token.kind == MaskToken::Invalid) {
            return;
        }
        if (token.kind == MaskToken::Literal) {
            shape.literals += token.codePoint;
        } else {
            wildcard = true;
            endRun(shape, runStart);
            starRuns += token.starRuns;
        }
        pos = token.next;
    }
    endRun(shape, runStart);
    shape.valid = starRuns <= MaxStarRuns;
    shape.exact = !wildcard && isCanonicalText(shape.literals, mask);
}

}  // namespace plintor
