#include "core/browser/MaskGlob.h"

#include <algorithm>
#include <optional>

#include "core/browser/MaskToken.h"
#include "core/browser/SegmentGlob.h"
#include "core/browser/UrlHelpers.h"

namespace plintor {
namespace {

// Beyond this product of mask and key length the plain walk may take noticeably long.
constexpr std::size_t LongMatchWork = std::size_t{1} << 16;

// Where the token after the latest "*" may start to match: keys are skipped up to the next
// place its literal appears, which is every place the plain walk would not fail at once.
std::size_t nextStart(const MaskToken& afterStar, std::u32string_view key, std::size_t k) {
    if (afterStar.kind == MaskToken::Literal) {
        while (k < key.size() && key[k] != afterStar.codePoint) {
            ++k;
        }
    }
    return k;
}

bool isLiteral(const MaskToken& token, char32_t c) {
    return token.kind == MaskToken::Literal && token.codePoint == c;
}

// Where the mask's first "://" starts, when a "*" stands before it.
std::optional<std::size_t> schemeStarsEnd(std::string_view mask) {
    bool star = false;
    for (std::size_t pos = 0; pos < mask.size();) {
        const MaskToken token = readMaskToken(mask, pos);
        if (isLiteral(token, U':') && mask.substr(token.next).starts_with("//")) {
            return star ? std::optional<std::size_t>(pos) : std::nullopt;
        }
        star = star || token.kind == MaskToken::AnyRun;
        pos = token.next;
    }
    return std::nullopt;
}

// A mask that matches the key as a deny mask matches it as an allow mask unless a "*" before
// its first "://" took more than the key's scheme.
bool schemeStarsHold(std::string_view mask, std::u32string_view key) {
    const std::optional<std::size_t> schemeEnd = schemeStarsEnd(mask);
    if (!schemeEnd) {
        return true;
    }
    const std::size_t keySchemeEnd = key.find(U"://");
    if (keySchemeEnd == std::u32string_view::npos) {
        return false;
    }
    const std::u32string_view scheme = key.substr(0, keySchemeEnd);
    return std::all_of(scheme.begin(), scheme.end(), isUrlSchemeCharacter) &&
           maskTextMatches(mask.substr(0, *schemeEnd), scheme) &&
           maskTextMatches(mask.substr(*schemeEnd), key.substr(keySchemeEnd));
}

}  // namespace

bool maskTextMatches(std::string_view mask, std::u32string_view key, MaskRole role) {
    return maskTextMatches(mask, key) && (role == MaskRole::Deny || schemeStarsHold(mask, key));
}

// Backtracks only to the latest "*": every earlier one can already absorb any longer run. That
// costs up to the product of the two lengths, so long masks against long keys take the
// segment walk, which is linear in the key.
bool maskTextMatches(std::string_view mask, std::u32string_view key) {
    if (mask.size() * key.size() > LongMatchWork) {
        return segmentMaskMatches(mask, key);
    }
    std::size_t t = 0;
    std::size_t k = 0;
    std::size_t afterStar = std::string_view::npos;
    MaskToken starNext;
    std::size_t starKey = 0;
    while (k < key.size()) {
        if (t < mask.size()) {
            const MaskToken token = t == afterStar ? starNext : readMaskToken(mask, t);
            if (token.kind == MaskToken::AnyRun) {
                afterStar = t = token.next;
                if (t == mask.size()) {
                    return true;  // a final "*" takes the rest of the key
                }
                starNext = readMaskToken(mask, t);
                k = starKey = nextStart(starNext, key, k);
                continue;
            }
            if (tokenAccepts(token, key[k])) {
                t = token.next;
                ++k;
                continue;
            }
        }
        if (afterStar == std::string_view::npos) {
            return false;
        }
        t = afterStar;
        k = starKey = nextStart(starNext, key, starKey + 1);
    }
    while (t < mask.size()) {
        const MaskToken token = readMaskToken(mask, t);
        if (token.kind != MaskToken::AnyRun) {
            return false;
        }
        t = token.next;
    }
    return true;
}

}  // namespace plintor
