#include "core/browser/UrlMask.h"

#include <algorithm>
#include <bitset>
#include <optional>
#include <string>
#include <vector>

#include "core/browser/MaskIpv6.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

struct MaskToken {
    enum Kind { Literal, AnyChar, AnyRun, Set } kind = Literal;
    char32_t codePoint = 0;
    std::bitset<256> members{};
};

char32_t foldAscii(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

std::u32string codePoints(std::string_view text) {
    std::u32string points;
    points.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t cp = nextCodePoint(text, pos);
        points += cp == InvalidUtf8 ? static_cast<unsigned char>(text[start]) : cp;
    }
    return points;
}

void addToSet(std::bitset<256>& members, char32_t first, char32_t last) {
    for (char32_t c = first; c <= last && c < 256; ++c) {
        members.set(c);
        members.set(foldAscii(c));
        if (c >= 'A' && c <= 'Z') {
            members.set(c - 'A' + 'a');
        }
    }
}

// Reads the set that starts after "[" at `pos`; leaves `pos` after its "]".
std::optional<MaskToken> parseSet(const std::u32string& mask, std::size_t& pos) {
    MaskToken token{MaskToken::Set};
    const bool negated = pos < mask.size() && mask[pos] == U'!';
    if (negated) {
        ++pos;
    }
    if (pos >= mask.size() || mask[pos] == U']' || mask[pos] == U'-') {
        return std::nullopt;
    }
    while (pos < mask.size() && mask[pos] != U']') {
        const char32_t first = mask[pos++];
        if (pos + 1 < mask.size() && mask[pos] == U'-' && mask[pos + 1] != U']') {
            addToSet(token.members, first, mask[pos + 1]);
            pos += 2;
        } else {
            addToSet(token.members, first, first);
        }
    }
    if (pos >= mask.size()) {
        return std::nullopt;
    }
    ++pos;
    if (negated) {
        token.members.flip();
    }
    return token;
}

std::optional<std::vector<MaskToken>> compileMask(std::string_view maskText) {
    const std::u32string mask = codePoints(maskText);
    std::vector<MaskToken> tokens;
    int starRuns = 0;
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const bool afterStar = pos > 0 && mask[pos - 1] == U'*';
        const char32_t c = mask[pos++];
        if (c == U'*') {
            if (!afterStar && ++starRuns > MaxStarRuns) {
                return std::nullopt;
            }
            if (tokens.empty() || tokens.back().kind != MaskToken::AnyRun) {
                tokens.push_back({MaskToken::AnyRun});
            }
        } else if (c == U'?') {
            if (!afterStar) {
                tokens.push_back({MaskToken::AnyChar});
            }
        } else if (c == U'[' && !opensIpv6Address(std::u32string_view(mask), pos - 1)) {
            std::optional<MaskToken> set = parseSet(mask, pos);
            if (!set) {
                return std::nullopt;
            }
            tokens.push_back(*set);
        } else {
            tokens.push_back({MaskToken::Literal, foldAscii(c)});
        }
    }
    return tokens;
}

bool tokenMatches(const MaskToken& token, char32_t c) {
    switch (token.kind) {
        case MaskToken::Literal:
            return token.codePoint == foldAscii(c);
        case MaskToken::AnyChar:
            return true;
        case MaskToken::Set:
            return c < 256 && token.members.test(c);
        case MaskToken::AnyRun:
            break;
    }
    return false;
}

// Backtracks only to the latest "*": every earlier one can already absorb any longer run.
bool matchTokens(const std::vector<MaskToken>& tokens, const std::u32string& key) {
    std::size_t t = 0;
    std::size_t k = 0;
    std::size_t starToken = std::string::npos;
    std::size_t starKey = 0;
    while (k < key.size()) {
        if (t < tokens.size() && tokens[t].kind == MaskToken::AnyRun) {
            starToken = t++;
            starKey = k;
        } else if (t < tokens.size() && tokenMatches(tokens[t], key[k])) {
            ++t;
            ++k;
        } else if (starToken != std::string::npos) {
            t = starToken + 1;
            k = ++starKey;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].kind == MaskToken::AnyRun) {
        ++t;
    }
    return t == tokens.size();
}

bool isLiteral(const MaskToken& token, char32_t c) {
    return token.kind == MaskToken::Literal && token.codePoint == c;
}

// Where the mask's first "://" starts, when a "*" stands before it.
std::optional<std::size_t> schemeStarsEnd(const std::vector<MaskToken>& tokens) {
    bool star = false;
    for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (isLiteral(tokens[i], U':') && isLiteral(tokens[i + 1], U'/') &&
            isLiteral(tokens[i + 2], U'/')) {
            return star ? std::optional<std::size_t>(i) : std::nullopt;
        }
        star = star || tokens[i].kind == MaskToken::AnyRun;
    }
    return std::nullopt;
}

bool matchAllowTokens(const std::vector<MaskToken>& tokens, const std::u32string& key) {
    const std::optional<std::size_t> schemeEnd = schemeStarsEnd(tokens);
    if (!schemeEnd) {
        return matchTokens(tokens, key);
    }
    const std::size_t keySchemeEnd = key.find(U"://");
    if (keySchemeEnd == std::u32string::npos) {
        return false;
    }
    const std::u32string scheme = key.substr(0, keySchemeEnd);
    if (!std::all_of(scheme.begin(), scheme.end(), isUrlSchemeCharacter)) {
        return false;
    }
    const auto split = tokens.begin() + static_cast<std::ptrdiff_t>(*schemeEnd);
    return matchTokens({tokens.begin(), split}, scheme) &&
           matchTokens({split, tokens.end()}, key.substr(keySchemeEnd));
}

}  // namespace

MaskMatch urlMaskMatch(std::string_view key, std::string_view mask, MaskRole role) {
    const std::optional<std::vector<MaskToken>> tokens = compileMask(mask);
    if (!tokens) {
        return MaskMatch::Invalid;
    }
    const std::u32string codes = codePoints(key);
    const bool matches =
        role == MaskRole::Allow ? matchAllowTokens(*tokens, codes) : matchTokens(*tokens, codes);
    return matches ? MaskMatch::Match : MaskMatch::NoMatch;
}

bool isValidMask(std::string_view mask) {
    return compileMask(mask).has_value();
}

}  // namespace plintor
