#include "core/browser/AnchorIndexView.h"

#include <algorithm>
#include <unordered_set>

#include "core/browser/MaskGlob.h"
#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

// Calls `visit` with the tag of each window of the key, rolling the hash along, until it
// returns true.
template <typename Visit>
bool anyWindow(std::u32string_view key, std::size_t length, Visit visit) {
    if (key.size() < length) {
        return false;
    }
    const std::uint64_t power = windowPower(length);
    std::uint64_t h = windowPolynomial(key.substr(0, length));
    for (std::size_t start = 0;; ++start) {
        if (visit(windowTag(h, length))) {
            return true;
        }
        if (start + length == key.size()) {
            return false;
        }
        h = h * WindowBase - key[start] * power + key[start + length];
    }
}

// A window that repeats in a key ("/AAAAAAAA...") leads to the same masks each time; reading
// them again would make a long key cost its length times theirs.
class SeenTags {
public:
    // False when the tag was seen before.
    bool insert(std::uint32_t tag) {
        const auto end = m_few.begin() + static_cast<std::ptrdiff_t>(m_fewCount);
        if (std::find(m_few.begin(), end, tag) != end) {
            return false;
        }
        if (m_fewCount < m_few.size()) {
            m_few[m_fewCount++] = tag;
            return true;
        }
        return m_many.insert(tag).second;
    }

private:
    std::array<std::uint32_t, 16> m_few{};
    std::size_t m_fewCount = 0;
    std::unordered_set<std::uint32_t> m_many;
};

}  // namespace

bool AnchorIndexView::anyMatches(std::u32string_view key, const MaskTextsView& texts,
                                 MaskRole role) const {
    SeenTags seen;
    const auto matches = [&](std::uint32_t tag) {
        if (!filter.mayHold(tag) || !seen.insert(tag)) {
            return false;
        }
        // The masks of a window lie scattered over the texts; loading them all at once lets
        // their memory accesses overlap.
        table.forEachOf(tag, [&](std::uint32_t ref) { texts.prefetch(ref); });
        return table.anyOf(
            tag, [&](std::uint32_t ref) { return maskTextMatches(texts.text(ref), key, role); });
    };
    // Longest windows first: most masks are filed there, so a blocked address ends soonest.
    for (std::size_t slot = WindowLengths.size(); slot-- > 0;) {
        if (masksPerLength[slot] != 0 && anyWindow(key, WindowLengths[slot], matches)) {
            return true;
        }
    }
    return false;
}

}  // namespace plintor
