#include "MaskGlob.h"

#include "MaskToken.h"

namespace plintor {
namespace {

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

}  // namespace

// Backtracks only to the latest "*": every earlier one can already absorb any longer run.
bool MaskTextMatches(std::string_view mask, std::u32string_view key) {
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
