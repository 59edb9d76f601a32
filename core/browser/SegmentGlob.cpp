#include "core/browser/SegmentGlob.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/browser/MaskToken.h"

namespace plintor {
namespace {

// The tokens of the mask between two runs of "*" (or an end of the mask).
struct Segment {
    std::vector<MaskToken> tokens;
};

struct Segments {
    std::vector<Segment> pieces;
    bool starFirst = false;  // the mask starts with "*": the first piece may start anywhere
    bool starLast = false;   // the mask ends with "*": the last piece may end anywhere
};

Segments splitAtStars(std::string_view mask) {
    Segments segments;
    segments.pieces.emplace_back();
    for (std::size_t pos = 0; pos < mask.size();) {
        const MaskToken token = readMaskToken(mask, pos);
        if (token.kind == MaskToken::AnyRun) {
            if (pos == 0) {
                segments.starFirst = true;
            } else {
                segments.pieces.emplace_back();
            }
            segments.starLast = token.next == mask.size();
        } else {
            segments.pieces.back().tokens.push_back(token);
        }
        pos = token.next;
    }
    if (segments.starLast) {
        segments.pieces.pop_back();  // the empty piece after the last "*"
    }
    return segments;
}

bool segmentAt(const Segment& segment, std::u32string_view key, std::size_t at) {
    for (std::size_t i = 0; i < segment.tokens.size(); ++i) {
        if (!tokenAccepts(segment.tokens[i], key[at + i])) {
            return false;
        }
    }
    return true;
}

// Shift-And over a piece of fixed width: bit i of the state says that the piece's first i + 1
// tokens match the key just before the current place.
class PieceScanner {
public:
    explicit PieceScanner(const Segment& segment)
        : m_segment(segment), m_words((segment.tokens.size() + 63) / 64), m_any(m_words, 0) {
        for (std::size_t i = 0; i < segment.tokens.size(); ++i) {
            const MaskToken& token = segment.tokens[i];
            if (token.kind == MaskToken::AnyChar) {
                setBit(m_any, i);
            } else if (token.kind == MaskToken::Literal) {
                auto [entry, added] = m_literals.try_emplace(token.codePoint, m_words, 0);
                setBit(entry->second, i);
            } else {
                m_sets.push_back(i);
            }
        }
    }

    // Where the piece first matches at or after `from`; npos when nowhere.
    std::size_t find(std::u32string_view key, std::size_t from) {
        const std::size_t width = m_segment.tokens.size();
        std::vector<std::uint64_t> state(m_words, 0);
        std::vector<std::uint64_t> accepts(m_words, 0);
        const std::size_t lastWord = (width - 1) / 64;
        const std::uint64_t lastBit = std::uint64_t{1} << ((width - 1) % 64);
        for (std::size_t k = from; k < key.size(); ++k) {
            accepting(key[k], accepts);
            std::uint64_t carry = 1;
            for (std::size_t w = 0; w < m_words; ++w) {
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
    static void setBit(std::vector<std::uint64_t>& bits, std::size_t i) {
        bits[i / 64] |= std::uint64_t{1} << (i % 64);
    }

    void accepting(char32_t c, std::vector<std::uint64_t>& bits) const {
        bits = m_any;
        if (const auto literal = m_literals.find(c); literal != m_literals.end()) {
            for (std::size_t w = 0; w < m_words; ++w) {
                bits[w] |= literal->second[w];
            }
        }
        for (const std::size_t i : m_sets) {
            if (tokenAccepts(m_segment.tokens[i], c)) {
                setBit(bits, i);
            }
        }
    }

    const Segment& m_segment;
    std::size_t m_words;
    std::vector<std::uint64_t> m_any;
    std::unordered_map<char32_t, std::vector<std::uint64_t>> m_literals;
    std::vector<std::size_t> m_sets;
};

}  // namespace

bool segmentMaskMatches(std::string_view mask, std::u32string_view key) {
    const Segments segments = splitAtStars(mask);
    if (segments.pieces.empty()) {
        return true;  // only "*"
    }
    std::size_t at = 0;
    std::size_t first = 0;
    std::size_t last = segments.pieces.size();
    if (!segments.starFirst) {  // the first piece is anchored at the key's start
        const Segment& piece = segments.pieces.front();
        if (piece.tokens.size() > key.size() || !segmentAt(piece, key, 0)) {
            return false;
        }
        at = piece.tokens.size();
        first = 1;
        if (segments.pieces.size() == 1 && !segments.starLast) {
            return at == key.size();
        }
    }
    std::size_t end = key.size();
    if (!segments.starLast && last > first) {  // the last piece is anchored at the key's end
        const Segment& piece = segments.pieces.back();
        if (piece.tokens.size() > end - at || !segmentAt(piece, key, end - piece.tokens.size())) {
            return false;
        }
        end -= piece.tokens.size();
        --last;
    }
    // Each piece between is best taken at its leftmost place: that leaves the most key to the
    // pieces after it, and a "*" on either side absorbs what lies between.
    const std::u32string_view middle = key.substr(0, end);
    for (std::size_t i = first; i < last; ++i) {
        const Segment& piece = segments.pieces[i];
        if (piece.tokens.empty()) {
            continue;
        }
        const std::size_t found = PieceScanner(piece).find(middle, at);
        if (found == std::u32string_view::npos) {
            return false;
        }
        at = found + piece.tokens.size();
    }
    return true;
}

}  // namespace plintor
