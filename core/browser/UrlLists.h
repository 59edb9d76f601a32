#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/UrlMatcher.h"

namespace plintor {

// The address as it is matched: its canonical form (see canonicalAddress) before any "?" or
// "#", without one trailing "/", upper-cased.
std::string candidateKey(std::string_view url);

// How an allow or deny entry is stored: its host as keys write theirs (maskWithKeyHost),
// without one trailing "/", upper-cased.
std::string normaliseListEntry(std::string_view url);

// The file-system path a local address names (a drive path or a file URL), without its
// fragment or query and with percent-escapes decoded; any other address gives "".
std::string localDocumentPath(std::string_view url);

// Whether the operator's deny list could be read. A kiosk whose deny list exists but cannot be
// read (a permission error, a FIFO in its place) must not take it for an empty one: it
// denies every address but its own pages (about:blank) until a reload can read the list.
enum class DenyListState : std::uint8_t { Read, Unreadable };

// Whether the deny list read through `denyList` blocks the address: a deny mask matches its
// key, or the key as a lenient server reads it. Invalid masks never match. An unreadable list
// blocks everything but the kiosk's own pages.
bool isDeniedBy(const UrlMatcherView& denyList, DenyListState state, std::string_view url);

// The allow and deny masks of the restricted browser and the decision over them.
class UrlLists {
public:
    // Empties both lists (the name is historical); the deny list counts as read again.
    void whitelistClear();
    // The deny list exists but could not be read: from now on it denies every address but the
    // kiosk's own pages, whatever masks it holds.
    void blacklistUnreadable();
    DenyListState denyListState() const { return m_denyListState; }
    // The allow list becomes the single mask "*"; the deny list stays.
    void whitelistAllowAll();
    // Each adds the normalised entry at the end unless it is empty or already there.
    void whitelistAddUrl(std::string_view url);
    void blacklistAddUrl(std::string_view url);

    // The program's own temporary documents, which pass the allow step without a mask.
    void setOwnDocuments(const std::vector<std::string>& paths);

    // An allow mask must match, unless the address is one of the program's own documents;
    // then a deny mask that matches the key, or the key as a lenient server reads it,
    // blocks. Invalid masks never match.
    bool isUrlAllowed(std::string_view url) const;
    // The deny step alone: whether a deny mask blocks the address.
    bool isUrlDenied(std::string_view url) const;

    // Copies of the entries in list order: the lists keep their text packed, not as strings.
    std::vector<std::string> whitelist() const { return m_whitelist.entries(); }
    std::vector<std::string> blacklist() const { return m_blacklist.entries(); }
    std::size_t whitelistSize() const { return m_whitelist.size(); }
    std::size_t blacklistSize() const { return m_blacklist.size(); }
    // The compiled deny list, for isDeniedBy and for its image; valid until the list changes.
    UrlMatcherView denyList() const { return m_blacklist.view(); }

private:
    bool isOwnDocument(std::string_view url) const;

    UrlMatcher m_whitelist{MaskRole::Allow};
    UrlMatcher m_blacklist{MaskRole::Deny};
    DenyListState m_denyListState = DenyListState::Read;
    std::vector<std::string> m_ownDocuments;
};

}  // namespace plintor
