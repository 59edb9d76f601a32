#include "core/browser/TagTable.h"

#include <utility>

namespace plintor {
namespace {

constexpr std::size_t FirstCapacity = 16;

}  // namespace

// Filled to at most three quarters and grown by half: the load stays between a half and three
// quarters, which keeps probe runs short without doubling the memory.
void TTagTable::Insert(std::uint32_t tag, std::uint32_t ref) {
    if ((FUsed + 1) * 4 > FSlots.size() * 3) {
        Grow();
    }
    Place({tag, ref});
    ++FUsed;
}

void TTagTable::Clear() {
    FSlots = {};
    FUsed = 0;
}

std::size_t TTagTable::Count(std::uint32_t tag) const {
    std::size_t count = 0;
    ForEachOf(tag, [&](std::uint32_t) { ++count; });
    return count;
}

void TTagTable::Place(TSlot slot) {
    std::size_t i = Home(slot.Tag);
    while (FSlots[i].Ref != NoRef) {
        i = Following(i);
    }
    FSlots[i] = slot;
}

void TTagTable::Grow() {
    std::vector<TSlot> old = std::exchange(
        FSlots, std::vector<TSlot>(FSlots.empty() ? FirstCapacity : FSlots.size() * 3 / 2));
    for (const TSlot& slot : old) {
        if (slot.Ref != NoRef) {
            Place(slot);
        }
    }
}

}  // namespace plintor
