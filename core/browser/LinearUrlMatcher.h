#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/browser/UrlMask.h"

namespace plintor {

// The plain walk over a mask list, trying every mask with UrlMaskMatch. The kiosk decides with
// TUrlMatcher; this one is the reference it is compared with and the benchmarks' baseline.
class TLinearUrlMatcher {
public:
    explicit TLinearUrlMatcher(TMaskRole role = TMaskRole::Deny) : FRole(role) {}

    // Same rule as TUrlMatcher::Add.
    bool Add(std::string_view mask);
    void Clear();
    bool AnyMatches(std::string_view key) const;

    std::size_t Size() const { return FEntries.size(); }
    const std::vector<std::string>& Entries() const { return FEntries; }

private:
    TMaskRole FRole;
    std::vector<std::string> FEntries;
    std::unordered_set<std::string> FPresent;
};

}  // namespace plintor
