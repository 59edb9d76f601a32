#include "core/browser/UrlMatcher.h"

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

// The mask is described and placed while its slot in the text table is being loaded; most
// masks are new, so the work is rarely wasted on a duplicate.
bool UrlMatcher::add(std::string_view mask) {
    if (mask.empty()) {
        return false;
    }
    if (m_role == MaskRole::Deny) {
        if (const std::optional<HostTable::HostMask> hostMask = HostTable::recognise(mask)) {
            return addHostMask(*hostMask);
        }
    }
    const std::uint32_t textTag = textTagOf(mask);
    m_byText.prefetch(textTag);
    describeMask(mask, m_shape);
    const Filing filing = filingOf(m_shape);
    if (contains(mask, textTag)) {
        return false;
    }
    const MaskArena::Ref ref = m_texts.add(mask);
    m_byText.insert(textTag, ref);
    m_inHosts.push_back(false);
    switch (filing.kind) {
        case Filing::Anchored:
            m_anchored.add(ref, filing.anchor);
            break;
        case Filing::Unanchored:
            m_unanchored.push_back(ref);
            break;
        case Filing::ByTextOnly:
            break;
    }
    return true;
}

// The host table says whether the form was there: a text it takes never reaches the others.
bool UrlMatcher::addHostMask(HostTable::HostMask mask) {
    const std::optional<HostTable::Item> item = m_hosts.add(mask);
    if (!item) {
        return false;
    }
    m_hostItems.push_back(*item);
    m_inHosts.push_back(true);
    return true;
}

void UrlMatcher::clear() {
    m_inHosts = {};
    m_hosts.clear();
    m_hostItems = {};
    m_texts.clear();
    m_byText.clear();
    m_anchored.clear();
    m_unanchored = {};
}

bool UrlMatcher::contains(std::string_view mask, std::uint32_t textTag) const {
    return m_byText.anyOf(textTag, [&](std::uint32_t ref) { return m_texts.text(ref) == mask; });
}

// An invalid mask never matches, so it is kept for the list but filed nowhere. An exact mask
// needs no filing either: the lookup by text finds it.
UrlMatcher::Filing UrlMatcher::filingOf(const MaskShape& shape) const {
    if (!shape.valid || shape.exact) {
        return {Filing::ByTextOnly, {}};
    }
    if (const std::optional<AnchorIndex::Anchor> anchor = m_anchored.choose(shape)) {
        return {Filing::Anchored, *anchor};
    }
    return {Filing::Unanchored, {}};
}

// A mask whose text equals the key's folded text is exact when that text holds no wildcard.
bool UrlMatcher::anyMatches(const MatchKey& key) const {
    const std::string_view text = key.text();
    if (!hasWildcard(text) && contains(text, textTagOf(text))) {
        return true;
    }
    if (m_hosts.anyMatches(text)) {
        return true;
    }
    if (std::any_of(m_unanchored.begin(), m_unanchored.end(), [&](MaskArena::Ref ref) {
            return maskTextMatches(m_texts.text(ref), key.codes(), m_role);
        })) {
        return true;
    }
    return m_anchored.anyMatches(key.codes(), m_texts, m_role);
}

std::vector<std::string> UrlMatcher::entries() const {
    std::vector<std::string> texts;
    texts.reserve(m_texts.count());
    m_texts.forEach([&](std::string_view text) { texts.emplace_back(text); });
    std::vector<std::string> entries;
    entries.reserve(m_inHosts.size());
    auto item = m_hostItems.begin();
    auto text = texts.begin();
    for (const bool inHosts : m_inHosts) {
        entries.push_back(inHosts ? m_hosts.maskText(*item++) : std::move(*text++));
    }
    return entries;
}

}  // namespace plintor
