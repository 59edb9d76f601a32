#include "core/browser/MaskToken.h"

#include "core/browser/MaskIpv6.h"

namespace plintor {
namespace {

MaskToken makeToken(MaskToken::Kind kind, std::size_t next) {
    MaskToken token;
    token.kind = kind;
    token.next = next;
    return token;
}

// "*" runs, each optionally followed by one "?" that adds nothing, make one token: the
// matcher treats "*?*" exactly like "*", but both runs count towards the limit.
MaskToken readAnyRun(std::string_view mask, std::size_t pos) {
    MaskToken token = makeToken(MaskToken::AnyRun, pos);
    while (pos < mask.size() && mask[pos] == '*') {
        ++token.starRuns;
        while (pos < mask.size() && mask[pos] == '*') {
            ++pos;
        }
        if (pos < mask.size() && mask[pos] == '?') {
            ++pos;
        }
    }
    token.next = pos;
    return token;
}

// `pos` is just after "[". A set ends at the first "]" after its first member, since neither
// a member nor the end of a range can be "]".
MaskToken readSet(std::string_view mask, std::size_t pos) {
    MaskToken token = makeToken(MaskToken::Set, pos);
    token.negated = pos < mask.size() && mask[pos] == '!';
    if (token.negated) {
        ++pos;
    }
    if (pos >= mask.size() || mask[pos] == ']' || mask[pos] == '-') {
        return makeToken(MaskToken::Invalid, pos);
    }
    const std::size_t close = mask.find(']', pos);
    if (close == std::string_view::npos) {
        return makeToken(MaskToken::Invalid, pos);
    }
    token.members = mask.substr(pos, close - pos);
    token.next = close + 1;
    return token;
}

// Sets hold only codes up to 255 and are closed under ASCII case, so the folded code point
// decides as well as the original one.
bool setHas(std::string_view members, char32_t c) {
    std::size_t pos = 0;
    while (pos < members.size()) {
        const char32_t first = readCodePoint(members, pos);
        char32_t last = first;
        if (pos + 1 < members.size() && members[pos] == '-') {
            ++pos;
            last = readCodePoint(members, pos);
        }
        const char32_t lower = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
        if ((first <= c && c <= last) || (first <= lower && lower <= last)) {
            return true;
        }
    }
    return false;
}

}  // namespace

MaskToken readMaskToken(std::string_view mask, std::size_t pos) {
    switch (mask[pos]) {
        case '*':
            return readAnyRun(mask, pos);
        case '?':
            return makeToken(MaskToken::AnyChar, pos + 1);
        case '[':
            if (!opensIpv6Address(mask, pos)) {
                return readSet(mask, pos + 1);
            }
            break;
        default:
            break;
    }
    MaskToken token;
    token.codePoint = foldAscii(readCodePoint(mask, pos));
    token.next = pos;
    return token;
}

bool tokenAccepts(const MaskToken& token, char32_t c) {
    switch (token.kind) {
        case MaskToken::Literal:
            return token.codePoint == c;
        case MaskToken::AnyChar:
            return true;
        case MaskToken::Set:
            return c < 256 && setHas(token.members, c) != token.negated;
        case MaskToken::AnyRun:
        case MaskToken::Invalid:
            break;
    }
    return false;
}

}  // namespace plintor
