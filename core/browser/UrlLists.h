#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/browser/UrlMatcher.h"

namespace plintor {

// The address as it is matched: its canonical form (see CanonicalAddress) before any "?" or
// "#", without one trailing "/", upper-cased.
std::string CandidateKey(std::string_view url);

// How an allow or deny entry is stored: without one trailing "/", upper-cased.
std::string NormaliseListEntry(std::string_view url);

// The file-system path a local address names (a drive path or a file URL), without its
// fragment or query and with percent-escapes decoded; any other address gives "".
std::string LocalDocumentPath(std::string_view url);

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

    // The program's own temporary documents, which pass the allow step without a mask.
    void SetOwnDocuments(const std::vector<std::string>& paths);

    // An allow mask must match, unless the address is one of the program's own documents;
    // then a deny mask that matches the key, or the key as a lenient server reads it,
    // blocks. Invalid masks never match.
    bool IsURLAllowed(std::string_view url) const;
    // The deny step alone: whether a deny mask blocks the address.
    bool IsURLDenied(std::string_view url) const;

    // Copies of the entries in list order: the lists keep their text packed, not as strings.
    std::vector<std::string> Whitelist() const { return FWhitelist.Entries(); }
    std::vector<std::string> Blacklist() const { return FBlacklist.Entries(); }

private:
    bool IsOwnDocument(std::string_view url) const;
    bool DeniedKey(const std::string& key) const;

    TUrlMatcher FWhitelist{TMaskRole::Allow};
    TUrlMatcher FBlacklist{TMaskRole::Deny};
    std::vector<std::string> FOwnDocuments;
};

}  // namespace plintor
