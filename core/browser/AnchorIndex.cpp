#include "core/browser/AnchorIndex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_set>

#include "core/browser/MaskGlob.h"
#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

// Enough windows to find a rarely used one; trying every window of a long address would make
// adding slow for no better spread.
constexpr std::size_t MaxWindowsTried = 16;

// Masks under one window sit side by side in the table, and filing one more walks past them
// all. Masks whose every window is this crowded differ only in their wildcards; they are tried
// for every key instead, which costs no more than reading the crowd would.
constexpr std::size_t MaxMasksPerWindow = 256;

struct WindowTags {
    std::array<std::uint32_t, MaxWindowsTried> tags{};
    std::size_t count = 0;
};

// Visits the tags of windows of the given length spread evenly over the mask's literal runs,
// until `visit` returns true; hashing is done one window at a time, as most masks stop at
// the first.
template <typename Visit>
bool anySampledWindow(const MaskShape& shape, std::size_t length, Visit visit) {
    std::size_t windows = 0;
    for (const MaskShape::Run& run : shape.runs) {
        windows += run.length >= length ? run.length - length + 1 : 0;
    }
    const std::size_t stride = (windows + MaxWindowsTried - 1) / MaxWindowsTried;
    std::size_t seen = 0;
    for (const MaskShape::Run& run : shape.runs) {
        for (std::size_t start = run.start; start + length <= run.start + run.length; ++start) {
            if (seen++ % stride == 0) {
                const std::u32string_view window =
                    std::u32string_view(shape.literals).substr(start, length);
                if (visit(windowTag(windowPolynomial(window), length))) {
                    return true;
                }
            }
        }
    }
    return false;
}

// Counting reads the table, so it is left for masks whose every window is already in use.
std::optional<std::uint32_t> rarestWindow(const TagTable& table, const WindowTags& windows) {
    const auto end = windows.tags.begin() + static_cast<std::ptrdiff_t>(windows.count);
    std::for_each(windows.tags.begin(), end, [&](std::uint32_t tag) { table.prefetch(tag); });
    std::uint32_t rarest = windows.tags[0];
    std::size_t fewest = SIZE_MAX;
    for (auto tag = windows.tags.begin(); tag != end && fewest > 0; ++tag) {
        const std::size_t count = table.count(*tag);
        if (count < fewest) {
            fewest = count;
            rarest = *tag;
        }
    }
    if (fewest >= MaxMasksPerWindow) {
        return std::nullopt;
    }
    return rarest;
}

std::size_t lengthSlot(std::uint32_t longestRun, const std::array<std::size_t, 4>& lengths) {
    std::size_t slot = 0;
    while (slot + 1 < lengths.size() && lengths[slot + 1] <= longestRun) {
        ++slot;
    }
    return slot;
}

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

// The window with the fewest masks filed under it so far: masks that share common text
// ("://WWW.", ".COM/") spread over the windows where they differ. A window the filter has
// never seen is surely free, which settles most masks without a table access.
std::optional<std::uint32_t> AnchorIndex::chooseWindow(const MaskShape& shape,
                                                       std::size_t length) const {
    WindowTags seen;
    std::uint32_t unseen = 0;
    const bool free = anySampledWindow(shape, length, [&](std::uint32_t tag) {
        seen.tags[seen.count++] = tag;
        unseen = tag;
        return !m_filter.mayHold(tag);
    });
    if (free) {
        return unseen;
    }
    return rarestWindow(m_table, seen);
}

std::optional<AnchorIndex::Anchor> AnchorIndex::choose(const MaskShape& shape) const {
    if (shape.longestRun() < WindowLengths[0]) {
        return std::nullopt;
    }
    const std::size_t slot = lengthSlot(shape.longestRun(), WindowLengths);
    const std::optional<std::uint32_t> tag = chooseWindow(shape, WindowLengths[slot]);
    if (!tag) {
        return std::nullopt;
    }
    m_table.prefetch(*tag);
    return Anchor{*tag, slot};
}

void AnchorIndex::add(MaskArena::Ref ref, Anchor anchor) {
    m_table.insert(anchor.tag, ref);
    m_filter.insert(anchor.tag, m_table.size(), [this](auto set) { m_table.forEachTag(set); });
    ++m_masksPerLength[anchor.lengthSlot];
}

void AnchorIndex::clear() {
    m_table.clear();
    m_filter.clear();
    m_masksPerLength = {};
}

bool AnchorIndex::anyMatches(std::u32string_view key, const MaskArena& texts, MaskRole role) const {
    SeenTags seen;
    const auto matches = [&](std::uint32_t tag) {
        if (!m_filter.mayHold(tag) || !seen.insert(tag)) {
            return false;
        }
        // The masks of a window lie scattered over the texts; loading them all at once lets
        // their memory accesses overlap.
        m_table.forEachOf(tag, [&](std::uint32_t ref) { texts.prefetch(ref); });
        return m_table.anyOf(
            tag, [&](std::uint32_t ref) { return maskTextMatches(texts.text(ref), key, role); });
    };
    // Longest windows first: most masks are filed there, so a blocked address ends soonest.
    for (std::size_t slot = WindowLengths.size(); slot-- > 0;) {
        if (m_masksPerLength[slot] != 0 && anyWindow(key, WindowLengths[slot], matches)) {
            return true;
        }
    }
    return false;
}

}  // namespace plintor
