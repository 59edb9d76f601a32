#include "core/browser/UrlLists.h"

#include <algorithm>
#include <optional>

#include "core/browser/AsciiHost.h"
#include "core/browser/CanonicalAddress.h"
#include "core/browser/MaskHost.h"
#include "core/browser/ServerSideForm.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

// upperCase gives the same for ASCII text, which most addresses and masks are, at a fraction
// of the cost.
std::string upperCased(std::string_view text) {
    return isAsciiText(text) ? asciiUpper(text) : upperCase(text);
}

std::string_view withoutTrailingSlash(std::string_view text) {
    return text.ends_with('/') ? text.substr(0, text.size() - 1) : text;
}

// about:blank and about:srcdoc, which the kiosk shows itself and which load nothing.
bool isKioskOwnPage(std::string_view key) {
    return key.starts_with("ABOUT:");
}

bool deniedKey(const UrlMatcherView& denyList, DenyListState state, const std::string& key) {
    if (state == DenyListState::Unreadable) {
        return !isKioskOwnPage(key);
    }
    if (denyList.anyMatches(MatchKey(key))) {
        return true;
    }
    const std::optional<std::string> serverForm = serverSideForm(key);
    return serverForm && denyList.anyMatches(MatchKey(*serverForm));
}

}  // namespace

// The fragment never reaches a server and the query is not part of a page's identity; both
// would let an address carry text that a mask ending in "*" takes for the page.
std::string candidateKey(std::string_view url) {
    const std::string canonical = canonicalAddress(url);
    const std::string_view page =
        std::string_view(canonical).substr(0, canonical.find_first_of("?#"));
    return upperCased(withoutTrailingSlash(page));
}

std::string normaliseListEntry(std::string_view url) {
    const std::optional<std::string> rewritten = maskWithKeyHost(url);
    return upperCased(withoutTrailingSlash(rewritten ? *rewritten : url));
}

std::string localDocumentPath(std::string_view url) {
    const std::string_view trimmed = trim(url);
    if (!isLocalPath(trimmed) && !isFileUrl(trimmed)) {
        return {};
    }
    const std::string fileUrl = toFileUrl(trimmed);
    const std::string_view path =
        std::string_view(fileUrl).substr(std::string_view("file://").size());
    return decodePercentEscapes(path.substr(0, path.find_first_of("?#")),
                                [](char) { return true; });
}

void UrlLists::whitelistClear() {
    m_whitelist.clear();
    m_blacklist.clear();
    m_denyListState = DenyListState::Read;
}

void UrlLists::blacklistUnreadable() {
    m_denyListState = DenyListState::Unreadable;
}

void UrlLists::whitelistAllowAll() {
    m_whitelist.clear();
    m_whitelist.add("*");
}

void UrlLists::whitelistAddUrl(std::string_view url) {
    m_whitelist.add(normaliseListEntry(url));
}

void UrlLists::blacklistAddUrl(std::string_view url) {
    m_blacklist.add(normaliseListEntry(url));
}

void UrlLists::setOwnDocuments(const std::vector<std::string>& paths) {
    m_ownDocuments.clear();
    for (const std::string& path : paths) {
        m_ownDocuments.push_back(localDocumentPath(toFileUrl(path)));
    }
}

bool UrlLists::isOwnDocument(std::string_view url) const {
    const std::string path = localDocumentPath(url);
    return !path.empty() &&
           std::find(m_ownDocuments.begin(), m_ownDocuments.end(), path) != m_ownDocuments.end();
}

bool isDeniedBy(const UrlMatcherView& denyList, DenyListState state, std::string_view url) {
    return deniedKey(denyList, state, candidateKey(url));
}

bool UrlLists::isUrlAllowed(std::string_view url) const {
    const std::string key = candidateKey(url);
    if (!isOwnDocument(url) && !m_whitelist.anyMatches(MatchKey(key))) {
        return false;
    }
    return !deniedKey(denyList(), m_denyListState, key);
}

bool UrlLists::isUrlDenied(std::string_view url) const {
    return isDeniedBy(denyList(), m_denyListState, url);
}

}  // namespace plintor
