#include "core/browser/TagTable.h"

#include <utility>

namespace plintor {
namespace {

constexpr std::size_t FirstCapacity = 16;

}  // namespace

// Filled to at most three quarters and grown by half: the load stays between a half and three
// quarters, which keeps probe runs short without doubling the memory.
void TagTable::insert(std::uint32_t tag, std::uint32_t ref) {
    if ((m_used + 1) * 4 > m_slots.size() * 3) {
        grow();
    }
    place({tag, ref});
    ++m_used;
}

void TagTable::clear() {
    m_slots = {};
    m_used = 0;
}

std::size_t TagTable::count(std::uint32_t tag) const {
    std::size_t count = 0;
    forEachOf(tag, [&](std::uint32_t) { ++count; });
    return count;
}

void TagTable::place(TagSlot slot) {
    const TagTableView slots = view();
    std::size_t i = slots.home(slot.tag);
    while (m_slots[i].ref != NoRef) {
        i = slots.following(i);
    }
    m_slots[i] = slot;
}

void TagTable::grow() {
    std::vector<TagSlot> old = std::exchange(
        m_slots, std::vector<TagSlot>(m_slots.empty() ? FirstCapacity : m_slots.size() * 3 / 2));
    for (const TagSlot& slot : old) {
        if (slot.ref != NoRef) {
            place(slot);
        }
    }
}

}  // namespace plintor
