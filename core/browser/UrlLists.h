#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "UrlMatcher.h"

namespace plintor {

// The address as it is matched: before any "?", without one trailing "/", without user
// information before the host, upper-cased.
std::string CandidateKey(std::string_view url);

// How an allow or deny entry is stored: without one trailing "/", upper-cased.
std::string NormaliseListEntry(std::string_view url);

// The allow and deny masks of the restricted browser and the decision over them.
class TUrlLists {
public:
    // Empties both lists (the name is historical).
    void WhitelistClear();
    // The allow list becomes the single mask "*"; the deny list stays.
    void WhitelistAllowAll();
    // Each adds the normalised entry at the end unless it is empty or already there.
    void WhitelistAddURL(std::string_view url);
    void BlacklistAddURL(std::string_view url);

    // Local files pass the allow step; otherwise an allow mask must match. Then any matching
    // deny mask blocks. Invalid masks never match.
    bool IsURLAllowed(std::string_view url) const;

    // Copies of the entries in list order: the lists keep their text packed, not as strings.
    std::vector<std::string> Whitelist() const { return FWhitelist.Entries(); }
    std::vector<std::string> Blacklist() const { return FBlacklist.Entries(); }

private:
    TUrlMatcher FWhitelist;
    TUrlMatcher FBlacklist;
};

}  // namespace plintor
