#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace plintor {

// One entry of a TagTable: a 32-bit tag and the reference filed under it.
struct TagSlot {
    static constexpr std::uint32_t NoRef = 0xFFFFFFFF;
    std::uint32_t tag = 0;
    std::uint32_t ref = NoRef;
};

// The lookups of a TagTable over its slots, wherever they lie: the table's own vector or a
// compiled list mapped from a file. A probe never walks more than every slot once, so even a
// table without a free slot (a damaged image) ends.
class TagTableView {
public:
    TagTableView() = default;
    explicit TagTableView(std::span<const TagSlot> slots) : m_slots(slots) {}

    std::span<const TagSlot> slots() const { return m_slots; }

    // Starts loading the slots of a tag that is about to be looked up, so that other work
    // can overlap the memory access.
    void prefetch(std::uint32_t tag) const {
#if defined(__GNUC__)
        if (!m_slots.empty()) {
            __builtin_prefetch(&m_slots[home(tag)]);
        }
#else
        (void)tag;
#endif
    }

    // Calls `found(ref)` for each entry of the tag until it returns true; says whether one did.
    template <typename Found>
    bool anyOf(std::uint32_t tag, Found found) const {
        std::size_t i = m_slots.empty() ? 0 : home(tag);
        for (std::size_t probes = 0; probes < m_slots.size() && m_slots[i].ref != TagSlot::NoRef;
             ++probes, i = following(i)) {
            if (m_slots[i].tag == tag && found(m_slots[i].ref)) {
                return true;
            }
        }
        return false;
    }

    // Calls `visit(ref)` for each entry of the tag.
    template <typename Visit>
    void forEachOf(std::uint32_t tag, Visit visit) const {
        anyOf(tag, [&](std::uint32_t ref) {
            visit(ref);
            return false;
        });
    }

    std::size_t home(std::uint32_t tag) const {
        return static_cast<std::size_t>((std::uint64_t{tag} * m_slots.size()) >> 32);
    }
    std::size_t following(std::size_t i) const {
        return i + 1 == m_slots.size() ? 0 : i + 1;
    }

private:
    std::span<const TagSlot> m_slots;
};

}  // namespace plintor
