#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/AnchorIndex.h"
#include "core/browser/HostTable.h"
#include "core/browser/MaskArena.h"
#include "core/browser/MaskShape.h"
#include "core/browser/MatchKey.h"
#include "core/browser/TagTable.h"
#include "core/browser/UrlMask.h"
#include "core/browser/UrlMatcherView.h"

namespace plintor {

// One mask list, compiled for the decision: it answers exactly as trying every mask with
// urlMaskMatch would, but reads only the masks that could match the key. Masks without
// wildcards are found by the key's whole text, the host masks of block lists through the host
// table, masks with a literal run of three or more characters through the anchor index, and
// the rest ("*", "?*", "[A-Z]*") are always tried.
class UrlMatcher {
public:
    explicit UrlMatcher(MaskRole role = MaskRole::Deny) : m_role(role) {}

    // Adds a mask as given (callers normalise it first); an empty mask or one already in
    // the list (same bytes) is ignored. Says whether it was added.
    bool add(std::string_view mask);
    void clear();

    // Whether any valid mask matches the candidate key.
    bool anyMatches(const MatchKey& key) const { return view().anyMatches(key); }
    bool anyMatches(std::string_view key) const { return anyMatches(MatchKey(key)); }

    std::size_t size() const { return m_inHosts.size(); }
    // The masks in the order added.
    std::vector<std::string> entries() const;

    // The compiled list as its decision reads it; valid until the list changes.
    UrlMatcherView view() const;

private:
    struct Filing {
        enum Kind { ByTextOnly, Anchored, Unanchored } kind = ByTextOnly;
        AnchorIndex::Anchor anchor;
    };

    bool addHostMask(HostTable::HostMask mask);
    Filing filingOf(const MaskShape& shape) const;

    MaskRole m_role;
    // The list's order: for each mask, whether the host table holds it; the host table's
    // masks in order, and the others' texts in order.
    std::vector<bool> m_inHosts;
    HostTable m_hosts;
    std::vector<HostTable::Item> m_hostItems;
    MaskArena m_texts;
    TagTable m_byText;  // every text: the duplicate rule, and the lookup of exact masks
    AnchorIndex m_anchored;
    // Valid masks without a usable literal run, or whose every window is crowded.
    std::vector<MaskArena::Ref> m_unanchored;
    MaskShape m_shape;  // reused while adding
};

}  // namespace plintor
