#include "core/browser/UrlMask.h"

#include <algorithm>
#include <bitset>
#include <optional>
#include <string>
#include <vector>

#include "core/browser/UrlHelpers.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

struct TMaskToken {
    enum Kind { Literal, AnyChar, AnyRun, Set } Kind = Literal;
    char32_t Char = 0;
    std::bitset<256> Members{};
};

char32_t FoldAscii(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

std::u32string CodePoints(std::string_view text) {
    std::u32string points;
    points.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t cp = NextCodePoint(text, pos);
        points += cp == InvalidUtf8 ? static_cast<unsigned char>(text[start]) : cp;
    }
    return points;
}

void AddToSet(std::bitset<256>& members, char32_t first, char32_t last) {
    for (char32_t c = first; c <= last && c < 256; ++c) {
        members.set(c);
        members.set(FoldAscii(c));
        if (c >= 'A' && c <= 'Z') {
            members.set(c - 'A' + 'a');
        }
    }
}

// Reads the set that starts after "[" at `pos`; leaves `pos` after its "]".
std::optional<TMaskToken> ParseSet(const std::u32string& mask, std::size_t& pos) {
    TMaskToken token{TMaskToken::Set};
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
            AddToSet(token.Members, first, mask[pos + 1]);
            pos += 2;
        } else {
            AddToSet(token.Members, first, first);
        }
    }
    if (pos >= mask.size()) {
        return std::nullopt;
    }
    ++pos;
    if (negated) {
        token.Members.flip();
    }
    return token;
}

std::optional<std::vector<TMaskToken>> CompileMask(std::string_view maskText) {
    const std::u32string mask = CodePoints(maskText);
    std::vector<TMaskToken> tokens;
    int starRuns = 0;
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const bool afterStar = pos > 0 && mask[pos - 1] == U'*';
        const char32_t c = mask[pos++];
        if (c == U'*') {
            if (!afterStar && ++starRuns > MaxStarRuns) {
                return std::nullopt;
            }
            if (tokens.empty() || tokens.back().Kind != TMaskToken::AnyRun) {
                tokens.push_back({TMaskToken::AnyRun});
            }
        } else if (c == U'?') {
            if (!afterStar) {
                tokens.push_back({TMaskToken::AnyChar});
            }
        } else if (c == U'[') {
            std::optional<TMaskToken> set = ParseSet(mask, pos);
            if (!set) {
                return std::nullopt;
            }
            tokens.push_back(*set);
        } else {
            tokens.push_back({TMaskToken::Literal, FoldAscii(c)});
        }
    }
    return tokens;
}

bool TokenMatches(const TMaskToken& token, char32_t c) {
    switch (token.Kind) {
        case TMaskToken::Literal:
            return token.Char == FoldAscii(c);
        case TMaskToken::AnyChar:
            return true;
        case TMaskToken::Set:
            return c < 256 && token.Members.test(c);
        case TMaskToken::AnyRun:
            break;
    }
    return false;
}

// Backtracks only to the latest "*": every earlier one can already absorb any longer run.
bool MatchTokens(const std::vector<TMaskToken>& tokens, const std::u32string& key) {
    std::size_t t = 0;
    std::size_t k = 0;
    std::size_t starToken = std::string::npos;
    std::size_t starKey = 0;
    while (k < key.size()) {
        if (t < tokens.size() && tokens[t].Kind == TMaskToken::AnyRun) {
            starToken = t++;
            starKey = k;
        } else if (t < tokens.size() && TokenMatches(tokens[t], key[k])) {
            ++t;
            ++k;
        } else if (starToken != std::string::npos) {
            t = starToken + 1;
            k = ++starKey;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].Kind == TMaskToken::AnyRun) {
        ++t;
    }
    return t == tokens.size();
}

bool IsLiteral(const TMaskToken& token, char32_t c) {
    return token.Kind == TMaskToken::Literal && token.Char == c;
}

// Where the mask's first "://" starts, when a "*" stands before it.
std::optional<std::size_t> SchemeStarsEnd(const std::vector<TMaskToken>& tokens) {
    bool star = false;
    for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (IsLiteral(tokens[i], U':') && IsLiteral(tokens[i + 1], U'/') &&
            IsLiteral(tokens[i + 2], U'/')) {
            return star ? std::optional<std::size_t>(i) : std::nullopt;
        }
        star = star || tokens[i].Kind == TMaskToken::AnyRun;
    }
    return std::nullopt;
}

bool MatchAllowTokens(const std::vector<TMaskToken>& tokens, const std::u32string& key) {
    const std::optional<std::size_t> schemeEnd = SchemeStarsEnd(tokens);
    if (!schemeEnd) {
        return MatchTokens(tokens, key);
    }
    const std::size_t keySchemeEnd = key.find(U"://");
    if (keySchemeEnd == std::u32string::npos) {
        return false;
    }
    const std::u32string scheme = key.substr(0, keySchemeEnd);
    if (!std::all_of(scheme.begin(), scheme.end(), IsUrlSchemeCharacter)) {
        return false;
    }
    const auto split = tokens.begin() + static_cast<std::ptrdiff_t>(*schemeEnd);
    return MatchTokens({tokens.begin(), split}, scheme) &&
           MatchTokens({split, tokens.end()}, key.substr(keySchemeEnd));
}

}  // namespace

TMaskMatch UrlMaskMatch(std::string_view key, std::string_view mask, TMaskRole role) {
    const std::optional<std::vector<TMaskToken>> tokens = CompileMask(mask);
    if (!tokens) {
        return TMaskMatch::Invalid;
    }
    const std::u32string codes = CodePoints(key);
    const bool matches =
        role == TMaskRole::Allow ? MatchAllowTokens(*tokens, codes) : MatchTokens(*tokens, codes);
    return matches ? TMaskMatch::Match : TMaskMatch::NoMatch;
}

bool IsValidMask(std::string_view mask) {
    return CompileMask(mask).has_value();
}

}  // namespace plintor
