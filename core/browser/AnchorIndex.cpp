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

struct TWindowTags {
    std::array<std::uint32_t, MaxWindowsTried> Tags{};
    std::size_t Count = 0;
};

// Visits the tags of windows of the given length spread evenly over the mask's literal runs,
// until `visit` returns true; hashing is done one window at a time, as most masks stop at
// the first.
template <typename Visit>
bool AnySampledWindow(const TMaskShape& shape, std::size_t length, Visit visit) {
    std::size_t windows = 0;
    for (const TMaskShape::TRun& run : shape.Runs) {
        windows += run.Length >= length ? run.Length - length + 1 : 0;
    }
    const std::size_t stride = (windows + MaxWindowsTried - 1) / MaxWindowsTried;
    std::size_t seen = 0;
    for (const TMaskShape::TRun& run : shape.Runs) {
        for (std::size_t start = run.Start; start + length <= run.Start + run.Length; ++start) {
            if (seen++ % stride == 0) {
                const std::u32string_view window =
                    std::u32string_view(shape.Literals).substr(start, length);
                if (visit(WindowTag(WindowPolynomial(window), length))) {
                    return true;
                }
            }
        }
    }
    return false;
}

// Counting reads the table, so it is left for masks whose every window is already in use.
std::optional<std::uint32_t> RarestWindow(const TTagTable& table, const TWindowTags& windows) {
    const auto end = windows.Tags.begin() + static_cast<std::ptrdiff_t>(windows.Count);
    std::for_each(windows.Tags.begin(), end, [&](std::uint32_t tag) { table.Prefetch(tag); });
    std::uint32_t rarest = windows.Tags[0];
    std::size_t fewest = SIZE_MAX;
    for (auto tag = windows.Tags.begin(); tag != end && fewest > 0; ++tag) {
        const std::size_t count = table.Count(*tag);
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

std::size_t LengthSlot(std::uint32_t longestRun, const std::array<std::size_t, 4>& lengths) {
    std::size_t slot = 0;
    while (slot + 1 < lengths.size() && lengths[slot + 1] <= longestRun) {
        ++slot;
    }
    return slot;
}

// Calls `visit` with the tag of each window of the key, rolling the hash along, until it
// returns true.
template <typename Visit>
bool AnyWindow(std::u32string_view key, std::size_t length, Visit visit) {
    if (key.size() < length) {
        return false;
    }
    const std::uint64_t power = WindowPower(length);
    std::uint64_t h = WindowPolynomial(key.substr(0, length));
    for (std::size_t start = 0;; ++start) {
        if (visit(WindowTag(h, length))) {
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
class TSeenTags {
public:
    // False when the tag was seen before.
    bool Insert(std::uint32_t tag) {
        const auto end = FFew.begin() + static_cast<std::ptrdiff_t>(FFewCount);
        if (std::find(FFew.begin(), end, tag) != end) {
            return false;
        }
        if (FFewCount < FFew.size()) {
            FFew[FFewCount++] = tag;
            return true;
        }
        return FMany.insert(tag).second;
    }

private:
    std::array<std::uint32_t, 16> FFew{};
    std::size_t FFewCount = 0;
    std::unordered_set<std::uint32_t> FMany;
};

}  // namespace

// The window with the fewest masks filed under it so far: masks that share common text
// ("://WWW.", ".COM/") spread over the windows where they differ. A window the filter has
// never seen is surely free, which settles most masks without a table access.
std::optional<std::uint32_t> TAnchorIndex::ChooseWindow(const TMaskShape& shape,
                                                        std::size_t length) const {
    TWindowTags seen;
    std::uint32_t unseen = 0;
    const bool free = AnySampledWindow(shape, length, [&](std::uint32_t tag) {
        seen.Tags[seen.Count++] = tag;
        unseen = tag;
        return !FFilter.MayHold(tag);
    });
    if (free) {
        return unseen;
    }
    return RarestWindow(FTable, seen);
}

std::optional<TAnchorIndex::TAnchor> TAnchorIndex::Choose(const TMaskShape& shape) const {
    if (shape.LongestRun() < WindowLengths[0]) {
        return std::nullopt;
    }
    const std::size_t slot = LengthSlot(shape.LongestRun(), WindowLengths);
    const std::optional<std::uint32_t> tag = ChooseWindow(shape, WindowLengths[slot]);
    if (!tag) {
        return std::nullopt;
    }
    FTable.Prefetch(*tag);
    return TAnchor{*tag, slot};
}

void TAnchorIndex::Add(TMaskArena::TRef ref, TAnchor anchor) {
    FTable.Insert(anchor.Tag, ref);
    FFilter.Insert(anchor.Tag, FTable.Size(), [this](auto set) { FTable.ForEachTag(set); });
    ++FMasksPerLength[anchor.LengthSlot];
}

void TAnchorIndex::Clear() {
    FTable.Clear();
    FFilter.Clear();
    FMasksPerLength = {};
}

bool TAnchorIndex::AnyMatches(std::u32string_view key, const TMaskArena& texts,
                              TMaskRole role) const {
    TSeenTags seen;
    const auto matches = [&](std::uint32_t tag) {
        if (!FFilter.MayHold(tag) || !seen.Insert(tag)) {
            return false;
        }
        // The masks of a window lie scattered over the texts; loading them all at once lets
        // their memory accesses overlap.
        FTable.ForEachOf(tag, [&](std::uint32_t ref) { texts.Prefetch(ref); });
        return FTable.AnyOf(
            tag, [&](std::uint32_t ref) { return MaskTextMatches(texts.Text(ref), key, role); });
    };
    // Longest windows first: most masks are filed there, so a blocked address ends soonest.
    for (std::size_t slot = WindowLengths.size(); slot-- > 0;) {
        if (FMasksPerLength[slot] != 0 && AnyWindow(key, WindowLengths[slot], matches)) {
            return true;
        }
    }
    return false;
}

}  // namespace plintor
