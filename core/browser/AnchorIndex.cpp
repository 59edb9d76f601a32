#include "core/browser/AnchorIndex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

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

AnchorIndexView AnchorIndex::view() const {
    return {m_table.view(), m_filter.view(), m_masksPerLength};
}

}  // namespace plintor
