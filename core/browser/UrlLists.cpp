#include "UrlLists.h"

#include <algorithm>

#include "UrlHelpers.h"
#include "support/TextCase.h"

namespace plintor {
namespace {

// "http://allowed.example@evil.example/" must be judged as evil.example: an allow mask
// ending in "*" would otherwise let any host through behind an allowed name.
std::string WithoutUserInfo(std::string key) {
    const std::size_t schemeEnd = key.find("://");
    if (schemeEnd == std::string::npos) {
        return key;
    }
    const std::size_t authorityStart = schemeEnd + 3;
    // A plain scan: find_first_of calls the library once per character, on every decision.
    const auto authorityEnd = static_cast<std::size_t>(
        std::find_if(key.begin() + static_cast<std::ptrdiff_t>(authorityStart), key.end(),
                     [](char c) { return c == '/' || c == '?' || c == '#'; }) -
        key.begin());
    const std::size_t at = key.rfind('@', authorityEnd == 0 ? 0 : authorityEnd - 1);
    if (at != std::string::npos && at >= authorityStart && at < authorityEnd) {
        key.erase(authorityStart, at + 1 - authorityStart);
    }
    return key;
}

// UpperCase gives the same for ASCII text, which most addresses and masks are, at a fraction
// of the cost.
std::string UpperCased(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? AsciiUpper(text) : UpperCase(text);
}

std::string_view WithoutTrailingSlash(std::string_view text) {
    return text.ends_with('/') ? text.substr(0, text.size() - 1) : text;
}

}  // namespace

// As StripURLQuery and StripTrailingSlash, without copies: a million entries are normalised
// while the lists load, and every decision makes a key.
std::string CandidateKey(std::string_view url) {
    return WithoutUserInfo(UpperCased(WithoutTrailingSlash(url.substr(0, url.find('?')))));
}

std::string NormaliseListEntry(std::string_view url) {
    return UpperCased(WithoutTrailingSlash(url));
}

void TUrlLists::WhitelistClear() {
    FWhitelist.Clear();
    FBlacklist.Clear();
}

void TUrlLists::WhitelistAllowAll() {
    FWhitelist.Clear();
    FWhitelist.Add("*");
}

void TUrlLists::WhitelistAddURL(std::string_view url) {
    FWhitelist.Add(NormaliseListEntry(url));
}

void TUrlLists::BlacklistAddURL(std::string_view url) {
    FBlacklist.Add(NormaliseListEntry(url));
}

bool TUrlLists::IsURLAllowed(std::string_view url) const {
    const std::string text = CandidateKey(url);
    const bool local = IsLocalPath(text) || IsFileURL(text);
    const TMatchKey key(text);
    if (!local && !FWhitelist.AnyMatches(key)) {
        return false;
    }
    return !FBlacklist.AnyMatches(key);
}

}  // namespace plintor
