#include "core/browser/SegmentGlob.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/browser/MaskToken.h"

namespace plintor {
namespace {

// The tokens of the mask between two runs of "*" (or an end of the mask).
struct TSegment {
    std::vector<TMaskToken> Tokens;
};

struct TSegments {
    std::vector<TSegment> Pieces;
    bool StarFirst = false;  // the mask starts with "*": the first piece may start anywhere
    bool StarLast = false;   // the mask ends with "*": the last piece may end anywhere
};

TSegments SplitAtStars(std::string_view mask) {
    TSegments segments;
    segments.Pieces.emplace_back();
    for (std::size_t pos = 0; pos < mask.size();) {
        const TMaskToken token = ReadMaskToken(mask, pos);
        if (token.Kind == TMaskToken::AnyRun) {
            if (pos == 0) {
                segments.StarFirst = true;
            } else {
                segments.Pieces.emplace_back();
            }
            segments.StarLast = token.Next == mask.size();
        } else {
            segments.Pieces.back().Tokens.push_back(token);
        }
        pos = token.Next;
    }
    if (segments.StarLast) {
        segments.Pieces.pop_back();  // the empty piece after the last "*"
    }
    return segments;
}

bool SegmentAt(const TSegment& segment, std::u32string_view key, std::size_t at) {
    for (std::size_t i = 0; i < segment.Tokens.size(); ++i) {
        if (!TokenAccepts(segment.Tokens[i], key[at + i])) {
            return false;
        }
    }
    return true;
}

// Shift-And over a piece of fixed width: bit i of the state says that the piece's first i + 1
// tokens match the key just before the current place.
class TPieceScanner {
public:
    explicit TPieceScanner(const TSegment& segment)
        : FSegment(segment), FWords((segment.Tokens.size() + 63) / 64), FAny(FWords, 0) {
        for (std::size_t i = 0; i < segment.Tokens.size(); ++i) {
            const TMaskToken& token = segment.Tokens[i];
            if (token.Kind == TMaskToken::AnyChar) {
                SetBit(FAny, i);
            } else if (token.Kind == TMaskToken::Literal) {
                auto [entry, added] = FLiterals.try_emplace(token.Char, FWords, 0);
                SetBit(entry->second, i);
            } else {
                FSets.push_back(i);
            }
        }
    }

    // Where the piece first matches at or after `from`; npos when nowhere.
    std::size_t Find(std::u32string_view key, std::size_t from) {
        const std::size_t width = FSegment.Tokens.size();
        std::vector<std::uint64_t> state(FWords, 0);
        std::vector<std::uint64_t> accepts(FWords, 0);
        const std::size_t lastWord = (width - 1) / 64;
        const std::uint64_t lastBit = std::uint64_t{1} << ((width - 1) % 64);
        for (std::size_t k = from; k < key.size(); ++k) {
            Accepting(key[k], accepts);
            std::uint64_t carry = 1;
            for (std::size_t w = 0; w < FWords; ++w) {
                const std::uint64_t next = state[w] >> 63;
                state[w] = ((state[w] << 1) | carry) & accepts[w];
                carry = next;
            }
            if ((state[lastWord] & lastBit) != 0) {
                return k + 1 - width;
            }
        }
        return std::u32string_view::npos;
    }

private:
    static void SetBit(std::vector<std::uint64_t>& bits, std::size_t i) {
        bits[i / 64] |= std::uint64_t{1} << (i % 64);
    }

    void Accepting(char32_t c, std::vector<std::uint64_t>& bits) const {
        bits = FAny;
        if (const auto literal = FLiterals.find(c); literal != FLiterals.end()) {
            for (std::size_t w = 0; w < FWords; ++w) {
                bits[w] |= literal->second[w];
            }
        }
        for (const std::size_t i : FSets) {
            if (TokenAccepts(FSegment.Tokens[i], c)) {
                SetBit(bits, i);
            }
        }
    }

    const TSegment& FSegment;
    std::size_t FWords;
    std::vector<std::uint64_t> FAny;
    std::unordered_map<char32_t, std::vector<std::uint64_t>> FLiterals;
    std::vector<std::size_t> FSets;
};

}  // namespace

bool SegmentMaskMatches(std::string_view mask, std::u32string_view key) {
    const TSegments segments = SplitAtStars(mask);
    if (segments.Pieces.empty()) {
        return true;  // only "*"
    }
    std::size_t at = 0;
    std::size_t first = 0;
    std::size_t last = segments.Pieces.size();
    if (!segments.StarFirst) {  // the first piece is anchored at the key's start
        const TSegment& piece = segments.Pieces.front();
        if (piece.Tokens.size() > key.size() || !SegmentAt(piece, key, 0)) {
            return false;
        }
        at = piece.Tokens.size();
        first = 1;
        if (segments.Pieces.size() == 1 && !segments.StarLast) {
            return at == key.size();
        }
    }
    std::size_t end = key.size();
    if (!segments.StarLast && last > first) {  // the last piece is anchored at the key's end
        const TSegment& piece = segments.Pieces.back();
        if (piece.Tokens.size() > end - at || !SegmentAt(piece, key, end - piece.Tokens.size())) {
            return false;
        }
        end -= piece.Tokens.size();
        --last;
    }
    // Each piece between is best taken at its leftmost place: that leaves the most key to the
    // pieces after it, and a "*" on either side absorbs what lies between.
    const std::u32string_view middle = key.substr(0, end);
    for (std::size_t i = first; i < last; ++i) {
        const TSegment& piece = segments.Pieces[i];
        if (piece.Tokens.empty()) {
            continue;
        }
        const std::size_t found = TPieceScanner(piece).Find(middle, at);
        if (found == std::u32string_view::npos) {
            return false;
        }
        at = found + piece.Tokens.size();
    }
    return true;
}

}  // namespace plintor
