#include "core/browser/UrlMatcher.h"

#include "core/browser/MaskHash.h"

namespace plintor {

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
    if (view().contains(mask, textTag)) {
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

UrlMatcherView UrlMatcher::view() const {
    return {m_role,         m_texts.view(),    m_byText.view(),
            m_hosts.view(), m_anchored.view(), m_unanchored};
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
