#include "core/browser/MaskToken.h"

namespace plintor {
namespace {

TMaskToken Token(TMaskToken::TKind kind, std::size_t next) {
    TMaskToken token;
    token.Kind = kind;
    token.Next = next;
    return token;
}

// "*" runs, each optionally followed by one "?" that adds nothing, make one token: the
// matcher treats "*?*" exactly like "*", but both runs count towards the limit.
TMaskToken ReadAnyRun(std::string_view mask, std::size_t pos) {
    TMaskToken token = Token(TMaskToken::AnyRun, pos);
    while (pos < mask.size() && mask[pos] == '*') {
        ++token.StarRuns;
        while (pos < mask.size() && mask[pos] == '*') {
            ++pos;
        }
        if (pos < mask.size() && mask[pos] == '?') {
            ++pos;
        }
    }
    token.Next = pos;
    return token;
}

// `pos` is just after "[". A set ends at the first "]" after its first member, since neither
// a member nor the end of a range can be "]".
TMaskToken ReadSet(std::string_view mask, std::size_t pos) {
    TMaskToken token = Token(TMaskToken::Set, pos);
    token.Negated = pos < mask.size() && mask[pos] == '!';
    if (token.Negated) {
        ++pos;
    }
    if (pos >= mask.size() || mask[pos] == ']' || mask[pos] == '-') {
        return Token(TMaskToken::Invalid, pos);
    }
    const std::size_t close = mask.find(']', pos);
    if (close == std::string_view::npos) {
        return Token(TMaskToken::Invalid, pos);
    }
    token.Members = mask.substr(pos, close - pos);
    token.Next = close + 1;
    return token;
}

// Sets hold only codes up to 255 and are closed under ASCII case, so the folded code point
// decides as well as the original one.
bool SetHas(std::string_view members, char32_t c) {
    std::size_t pos = 0;
    while (pos < members.size()) {
        const char32_t first = ReadCodePoint(members, pos);
        char32_t last = first;
        if (pos + 1 < members.size() && members[pos] == '-') {
            ++pos;
            last = ReadCodePoint(members, pos);
        }
        const char32_t lower = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
        if ((first <= c && c <= last) || (first <= lower && lower <= last)) {
            return true;
        }
    }
    return false;
}

}  // namespace

TMaskToken ReadMaskToken(std::string_view mask, std::size_t pos) {
    switch (mask[pos]) {
        case '*':
            return ReadAnyRun(mask, pos);
        case '?':
            return Token(TMaskToken::AnyChar, pos + 1);
        case '[':
            return ReadSet(mask, pos + 1);
        default:
            break;
    }
    TMaskToken token;
    token.Char = FoldAscii(ReadCodePoint(mask, pos));
    token.Next = pos;
    return token;
}

bool TokenAccepts(const TMaskToken& token, char32_t c) {
    switch (token.Kind) {
        case TMaskToken::Literal:
            return token.Char == c;
        case TMaskToken::AnyChar:
            return true;
        case TMaskToken::Set:
            return c < 256 && SetHas(token.Members, c) != token.Negated;
        case TMaskToken::AnyRun:
        case TMaskToken::Invalid:
            break;
    }
    return false;
}

}  // namespace plintor
