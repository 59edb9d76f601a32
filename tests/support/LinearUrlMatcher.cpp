#include "tests/support/LinearUrlMatcher.h"

#include <algorithm>

#include "core/browser/UrlMask.h"

namespace plintor {

bool LinearUrlMatcher::add(std::string_view mask) {
    std::string entry(mask);
    if (entry.empty() || !m_present.insert(entry).second) {
        return false;
    }
    m_entries.push_back(std::move(entry));
    return true;
}

void LinearUrlMatcher::clear() {
    m_entries.clear();
    m_present.clear();
}

bool LinearUrlMatcher::anyMatches(std::string_view key) const {
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const std::string& mask) {
        return urlMaskMatch(key, mask, m_role) == MaskMatch::Match;
    });
}

}  // namespace plintor
