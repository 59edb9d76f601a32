#pragma once

#include <cstdint>
#include <span>

#include "core/browser/AnchorIndexView.h"
#include "core/browser/HostTableView.h"
#include "core/browser/MaskTextsView.h"
#include "core/browser/MatchKey.h"
#include "core/browser/TagTableView.h"
#include "core/browser/UrlMask.h"

namespace plintor {

// The decision of a UrlMatcher over its parts, wherever they lie: the matcher's own containers
// while the list is built, or a compiled list mapped read-only from an image (DenyListView).
struct UrlMatcherView {
    MaskRole role = MaskRole::Deny;
    MaskTextsView texts;
    TagTableView byText;  // every text: the lookup of exact masks
    HostTableView hosts;
    AnchorIndexView anchored;
    // Valid masks without a usable literal run, or whose every window is crowded.
    std::span<const std::uint32_t> unanchored;

    // Whether any valid mask matches the candidate key.
    bool anyMatches(const MatchKey& key) const;
    // Whether a mask of exactly this text is held; `textTag` is its textTagOf.
    bool contains(std::string_view mask, std::uint32_t textTag) const;
};

}  // namespace plintor
