#include "core/browser/UrlLists.h"

#include <algorithm>
#include <optional>

#include "core/browser/CanonicalAddress.h"
#include "core/browser/ServerSideForm.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

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

// The fragment never reaches a server and the query is not part of a page's identity; both
// would let an address carry text that a mask ending in "*" takes for the page.
std::string CandidateKey(std::string_view url) {
    const std::string canonical = CanonicalAddress(url);
    const std::string_view page =
        std::string_view(canonical).substr(0, canonical.find_first_of("?#"));
    return UpperCased(WithoutTrailingSlash(page));
}

std::string NormaliseListEntry(std::string_view url) {
    return UpperCased(WithoutTrailingSlash(url));
}

std::string LocalDocumentPath(std::string_view url) {
    const std::string_view trimmed = Trim(url);
    if (!IsLocalPath(trimmed) && !IsFileURL(trimmed)) {
        return {};
    }
    const std::string fileUrl = ToFileURL(trimmed);
    const std::string_view path =
        std::string_view(fileUrl).substr(std::string_view("file://").size());
    return DecodePercentEscapes(path.substr(0, path.find_first_of("?#")),
                                [](char) { return true; });
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

void TUrlLists::SetOwnDocuments(const std::vector<std::string>& paths) {
    FOwnDocuments.clear();
    for (const std::string& path : paths) {
        FOwnDocuments.push_back(LocalDocumentPath(ToFileURL(path)));
    }
}

bool TUrlLists::IsOwnDocument(std::string_view url) const {
    const std::string path = LocalDocumentPath(url);
    return !path.empty() &&
           std::find(FOwnDocuments.begin(), FOwnDocuments.end(), path) != FOwnDocuments.end();
}

bool TUrlLists::DeniedKey(const std::string& key) const {
    if (FBlacklist.AnyMatches(TMatchKey(key))) {
        return true;
    }
    const std::optional<std::string> serverForm = ServerSideForm(key);
    return serverForm && FBlacklist.AnyMatches(TMatchKey(*serverForm));
}

bool TUrlLists::IsURLAllowed(std::string_view url) const {
    const std::string key = CandidateKey(url);
    if (!IsOwnDocument(url) && !FWhitelist.AnyMatches(TMatchKey(key))) {
        return false;
    }
    return !DeniedKey(key);
}

bool TUrlLists::IsURLDenied(std::string_view url) const {
    return DeniedKey(CandidateKey(url));
}

}  // namespace plintor
