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
std::size_t NextStart(const TMaskToken& afterStar, std::u32string_view key, std::size_t k) {
    if (afterStar.Kind == TMaskToken::Literal) {
        while (k < key.size() && key[k] != afterStar.Char) {
            ++k;
        }
    }
    return k;
}

bool IsLiteral(const TMaskToken& token, char32_t c) {
    return token.Kind == TMaskToken::Literal && token.Char == c;
}

// Where the mask's first "://" starts, when a "*" stands before it.
std::optional<std::size_t> SchemeStarsEnd(std::string_view mask) {
    bool star = false;
    for (std::size_t pos = 0; pos < mask.size();) {
        const TMaskToken token = ReadMaskToken(mask, pos);
        if (IsLiteral(token, U':') && mask.substr(token.Next).starts_with("//")) {
            return star ? std::optional<std::size_t>(pos) : std::nullopt;
        }
        star = star || token.Kind == TMaskToken::AnyRun;
        pos = token.Next;
    }
    return std::nullopt;
}

// A mask that matches the key as a deny mask matches it as an allow mask unless a "*" before
// its first "://" took more than the key's scheme.
bool SchemeStarsHold(std::string_view mask, std::u32string_view key) {
    const std::optional<std::size_t> schemeEnd = SchemeStarsEnd(mask);
    if (!schemeEnd) {
        return true;
    }
    const std::size_t keySchemeEnd = key.find(U"://");
    if (keySchemeEnd == std::u32string_view::npos) {
        return false;
    }
    const std::u32string_view scheme = key.substr(0, keySchemeEnd);
    return std::all_of(scheme.begin(), scheme.end(), IsUrlSchemeCharacter) &&
           MaskTextMatches(mask.substr(0, *schemeEnd), scheme) &&
           MaskTextMatches(mask.substr(*schemeEnd), key.substr(keySchemeEnd));
}

}  // namespace

bool MaskTextMatches(std::string_view mask, std::u32string_view key, TMaskRole role) {
    return MaskTextMatches(mask, key) && (role == TMaskRole::Deny || SchemeStarsHold(mask, key));
}

// Backtracks only to the latest "*": every earlier one can already absorb any longer run. That
// costs up to the product of the two lengths, so long masks against long keys take the
// segment walk, which is linear in the key.
bool MaskTextMatches(std::string_view mask, std::u32string_view key) {
    if (mask.size() * key.size() > LongMatchWork) {
        return SegmentMaskMatches(mask, key);
    }
    std::size_t t = 0;
    std::size_t k = 0;
    std::size_t afterStar = std::string_view::npos;
    TMaskToken starNext;
    std::size_t starKey = 0;
    while (k < key.size()) {
        if (t < mask.size()) {
            const TMaskToken token = t == afterStar ? starNext : ReadMaskToken(mask, t);
            if (token.Kind == TMaskToken::AnyRun) {
                afterStar = t = token.Next;
                if (t == mask.size()) {
                    return true;  // a final "*" takes the rest of the key
                }
                starNext = ReadMaskToken(mask, t);
                k = starKey = NextStart(starNext, key, k);
                continue;
            }
            if (TokenAccepts(token, key[k])) {
                t = token.Next;
                ++k;
                continue;
            }
        }
        if (afterStar == std::string_view::npos) {
            return false;
        }
        t = afterStar;
        k = starKey = NextStart(starNext, key, starKey + 1);
    }
    while (t < mask.size()) {
        const TMaskToken token = ReadMaskToken(mask, t);
        if (token.Kind != TMaskToken::AnyRun) {
            return false;
        }
        t = token.Next;
    }
    return true;
}

}  // namespace plintor
