#include "core/browser/LinearUrlMatcher.h"

#include <algorithm>

#include "core/browser/UrlMask.h"

namespace plintor {

bool TLinearUrlMatcher::Add(std::string_view mask) {
    std::string entry(mask);
    if (entry.empty() || !FPresent.insert(entry).second) {
        return false;
    }
    FEntries.push_back(std::move(entry));
    return true;
}

void TLinearUrlMatcher::Clear() {
    FEntries.clear();
    FPresent.clear();
}

bool TLinearUrlMatcher::AnyMatches(std::string_view key) const {
    return std::any_of(FEntries.begin(), FEntries.end(), [&](const std::string& mask) {
        return UrlMaskMatch(key, mask, FRole) == TMaskMatch::Match;
    });
}

}  // namespace plintor
