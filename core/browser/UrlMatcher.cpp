#include "core/browser/UrlMatcher.h"

#include <algorithm>

#include "core/browser/MaskGlob.h"
#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

bool HasWildcard(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '*' || c == '?' || c == '['; });
}

}  // namespace

// The mask is described and placed while its slot in the text table is being loaded; most
// masks are new, so the work is rarely wasted on a duplicate.
bool TUrlMatcher::Add(std::string_view mask) {
    if (mask.empty()) {
        return false;
    }
    const std::uint32_t textTag = TextTag(mask);
    FByText.Prefetch(textTag);
    DescribeMask(mask, FShape);
    const TFiling filing = FilingOf(FShape);
    if (Contains(mask, textTag)) {
        return false;
    }
    const TMaskArena::TRef ref = FTexts.Add(mask);
    FByText.Insert(textTag, ref);
    switch (filing.Kind) {
        case TFiling::Anchored:
            FAnchored.Add(ref, filing.Anchor);
            break;
        case TFiling::Unanchored:
            FUnanchored.push_back(ref);
            break;
        case TFiling::ByTextOnly:
            break;
    }
    return true;
}

void TUrlMatcher::Clear() {
    FTexts.Clear();
    FByText.Clear();
    FAnchored.Clear();
    FUnanchored = {};
}

bool TUrlMatcher::Contains(std::string_view mask, std::uint32_t textTag) const {
    return FByText.AnyOf(textTag, [&](std::uint32_t ref) { return FTexts.Text(ref) == mask; });
}

// An invalid mask never matches, so it is kept for the list but filed nowhere. An exact mask
// needs no filing either: the lookup by text finds it.
TUrlMatcher::TFiling TUrlMatcher::FilingOf(const TMaskShape& shape) const {
    if (!shape.Valid || shape.Exact) {
        return {TFiling::ByTextOnly, {}};
    }
    if (const std::optional<TAnchorIndex::TAnchor> anchor = FAnchored.Choose(shape)) {
        return {TFiling::Anchored, *anchor};
    }
    return {TFiling::Unanchored, {}};
}

// A mask whose text equals the key's folded text is exact when that text holds no wildcard.
bool TUrlMatcher::AnyMatches(const TMatchKey& key) const {
    const std::string_view text = key.Text();
    if (!HasWildcard(text) && Contains(text, TextTag(text))) {
        return true;
    }
    if (std::any_of(FUnanchored.begin(), FUnanchored.end(), [&](TMaskArena::TRef ref) {
            return MaskTextMatches(FTexts.Text(ref), key.Codes(), FRole);
        })) {
        return true;
    }
    return FAnchored.AnyMatches(key.Codes(), FTexts, FRole);
}

std::vector<std::string> TUrlMatcher::Entries() const {
    std::vector<std::string> entries;
    entries.reserve(FTexts.Count());
    FTexts.ForEach([&](std::string_view text) { entries.emplace_back(text); });
    return entries;
}

}  // namespace plintor
