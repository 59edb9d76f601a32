#include "core/browser/MaskShape.h"

#include <algorithm>

#include "core/browser/MaskToken.h"
#include "core/browser/UrlMask.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

// Whether the text is already the folded UTF-8 form of its own code points.
bool IsCanonicalText(std::u32string_view codes, std::string_view text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (const char32_t c : codes) {
        AppendUtf8(encoded, c);
    }
    return encoded == text;
}

// Most of a mask is ASCII text that stands for itself; it needs no token.
bool IsPlainAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != '*' && c != '?' && c != '[';
}

void EndRun(TMaskShape& shape, std::uint32_t& runStart) {
    const auto end = static_cast<std::uint32_t>(shape.Literals.size());
    if (end > runStart) {
        shape.Runs.push_back({runStart, end - runStart});
    }
    runStart = end;
}

}  // namespace

std::uint32_t TMaskShape::LongestRun() const {
    std::uint32_t longest = 0;
    for (const TRun& run : Runs) {
        longest = std::max(longest, run.Length);
    }
    return longest;
}

void DescribeMask(std::string_view mask, TMaskShape& shape) {
    shape.Valid = false;
    shape.Exact = false;
    shape.Literals.clear();
    shape.Runs.clear();
    bool wildcard = false;
    int starRuns = 0;
    std::uint32_t runStart = 0;
    for (std::size_t pos = 0; pos < mask.size();) {
        if (IsPlainAscii(mask[pos])) {
            shape.Literals += FoldAscii(static_cast<unsigned char>(mask[pos++]));
            continue;
        }
        const TMaskToken token = ReadMaskToken(mask, pos);
        if (token.Kind == TMaskToken::Invalid) {
            return;
        }
        if (token.Kind == TMaskToken::Literal) {
            shape.Literals += token.Char;
        } else {
            wildcard = true;
            EndRun(shape, runStart);
            starRuns += token.StarRuns;
        }
        pos = token.Next;
    }
    EndRun(shape, runStart);
    shape.Valid = starRuns <= MaxStarRuns;
    shape.Exact = !wildcard && IsCanonicalText(shape.Literals, mask);
}

}  // namespace plintor
