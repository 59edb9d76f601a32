#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/AnchorIndex.h"
#include "core/browser/MaskArena.h"
#include "core/browser/MaskShape.h"
#include "core/browser/MatchKey.h"
#include "core/browser/TagTable.h"
#include "core/browser/UrlMask.h"

namespace plintor {

// One mask list, compiled for the decision: it answers exactly as trying every mask with
// UrlMaskMatch would, but reads only the masks that could match the key. Masks without
// wildcards are found by the key's whole text, masks with a literal run of three or more
// characters through the anchor index, and the rest ("*", "?*", "[A-Z]*") are always tried.
class TUrlMatcher {
public:
    explicit TUrlMatcher(TMaskRole role = TMaskRole::Deny) : FRole(role) {}

    // Adds a mask as given (callers normalise it first); an empty mask or one already in
    // the list (same bytes) is ignored. Says whether it was added.
    bool Add(std::string_view mask);
    void Clear();

    // Whether any valid mask matches the candidate key.
    bool AnyMatches(const TMatchKey& key) const;
    bool AnyMatches(std::string_view key) const { return AnyMatches(TMatchKey(key)); }

    std::size_t Size() const { return FTexts.Count(); }
    // The masks in the order added.
    std::vector<std::string> Entries() const;

private:
    struct TFiling {
        enum TKind { ByTextOnly, Anchored, Unanchored } Kind = ByTextOnly;
        TAnchorIndex::TAnchor Anchor;
    };

    bool Contains(std::string_view mask, std::uint32_t textTag) const;
    TFiling FilingOf(const TMaskShape& shape) const;

    TMaskRole FRole;
    TMaskArena FTexts;
    TTagTable FByText;  // every mask: the duplicate rule, and the lookup of exact masks
    TAnchorIndex FAnchored;
    // Valid masks without a usable literal run, or whose every window is crowded.
    std::vector<TMaskArena::TRef> FUnanchored;
    TMaskShape FShape;  // reused while adding
};

}  // namespace plintor
