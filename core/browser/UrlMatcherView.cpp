#include "core/browser/UrlMatcherView.h"

#include <algorithm>

#include "core/browser/MaskGlob.h"
#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

bool hasWildcard(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '*' || c == '?' || c == '['; });
}

}  // namespace

bool UrlMatcherView::contains(std::string_view mask, std::uint32_t textTag) const {
    return byText.anyOf(textTag, [&](std::uint32_t ref) { return texts.text(ref) == mask; });
}

// A mask whose text equals the key's folded text is exact when that text holds no wildcard.
bool UrlMatcherView::anyMatches(const MatchKey& key) const {
    const std::string_view text = key.text();
    if (!hasWildcard(text) && contains(text, textTagOf(text))) {
        return true;
    }
    if (hosts.anyMatches(text)) {
        return true;
    }
    if (std::any_of(unanchored.begin(), unanchored.end(), [&](std::uint32_t ref) {
            return maskTextMatches(texts.text(ref), key.codes(), role);
        })) {
        return true;
    }
    return anchored.anyMatches(key.codes(), texts, role);
}

}  // namespace plintor
