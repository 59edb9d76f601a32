#include "UrlLists.h"

#include <algorithm>

#include "UrlHelpers.h"
#include "UrlMask.h"
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
    const std::size_t authorityEnd = std::min(key.find_first_of("/?#", authorityStart), key.size());
    const std::size_t at = key.rfind('@', authorityEnd == 0 ? 0 : authorityEnd - 1);
    if (at != std::string::npos && at >= authorityStart && at < authorityEnd) {
        key.erase(authorityStart, at + 1 - authorityStart);
    }
    return key;
}

}  // namespace

std::string CandidateKey(std::string_view url) {
    return WithoutUserInfo(UpperCase(StripTrailingSlash(StripURLQuery(url))));
}

std::string NormaliseListEntry(std::string_view url) {
    return UpperCase(StripTrailingSlash(url));
}

void TUrlLists::TMaskList::Add(std::string_view url) {
    std::string entry = NormaliseListEntry(url);
    if (entry.empty() || !Present.insert(entry).second) {
        return;
    }
    Entries.push_back(std::move(entry));
}

void TUrlLists::TMaskList::Clear() {
    Entries.clear();
    Present.clear();
}

bool TUrlLists::TMaskList::AnyMatches(const std::string& key) const {
    return std::any_of(Entries.begin(), Entries.end(), [&](const std::string& mask) {
        return UrlMaskMatch(key, mask) == TMaskMatch::Match;
    });
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
    FWhitelist.Add(url);
}

void TUrlLists::BlacklistAddURL(std::string_view url) {
    FBlacklist.Add(url);
}

bool TUrlLists::IsURLAllowed(std::string_view url) const {
    const std::string key = CandidateKey(url);
    const bool local = IsLocalPath(key) || IsFileURL(key);
    if (!local && !FWhitelist.AnyMatches(key)) {
        return false;
    }
    return !FBlacklist.AnyMatches(key);
}

}  // namespace plintor
