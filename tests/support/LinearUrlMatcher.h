#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/browser/UrlMask.h"

namespace plintor {

// The plain walk over a mask list, trying every mask with urlMaskMatch. The kiosk decides with
// UrlMatcher; this one is the reference it is compared with and the benchmarks' baseline.
class LinearUrlMatcher {
public:
    explicit LinearUrlMatcher(MaskRole role = MaskRole::Deny) : m_role(role) {}

    // Same rule as UrlMatcher::add.
    bool add(std::string_view mask);
    void clear();
    bool anyMatches(std::string_view key) const;

    std::size_t size() const { return m_entries.size(); }
    const std::vector<std::string>& entries() const { return m_entries; }

private:
    MaskRole m_role;
    std::vector<std::string> m_entries;
    std::unordered_set<std::string> m_present;
};

}  // namespace plintor
