#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plintor {

// A hash multimap from 32-bit tags (hash values) to 32-bit mask references, open addressing
// with linear probing. The tag alone places an entry, so growing never rereads the masks;
// equal tags may stand for different texts, and callers check what they find.
class TagTable {
public:
    static constexpr std::uint32_t NoRef = 0xFFFFFFFF;

    void insert(std::uint32_t tag, std::uint32_t ref);
    void clear();
    std::size_t count(std::uint32_t tag) const;
    std::size_t size() const { return m_used; }

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

    template <typename Visit>
    void forEachTag(Visit visit) const {
        for (const Slot& slot : m_slots) {
            if (slot.ref != NoRef) {
                visit(slot.tag);
            }
        }
    }

    // Calls `visit(ref)` for each entry of the tag.
    template <typename Visit>
    void forEachOf(std::uint32_t tag, Visit visit) const {
        anyOf(tag, [&](std::uint32_t ref) {
            visit(ref);
            return false;
        });
    }

    // Calls `found(ref)` for each entry of the tag until it returns true; says whether one did.
    template <typename Found>
    bool anyOf(std::uint32_t tag, Found found) const {
        if (m_slots.empty()) {
            return false;
        }
        for (std::size_t i = home(tag); m_slots[i].ref != NoRef; i = following(i)) {
            if (m_slots[i].tag == tag && found(m_slots[i].ref)) {
                return true;
            }
        }
        return false;
    }

private:
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t ref = NoRef;
    };

    std::size_t home(std::uint32_t tag) const {
        return static_cast<std::size_t>((std::uint64_t{tag} * m_slots.size()) >> 32);
    }
    std::size_t following(std::size_t i) const {
        return i + 1 == m_slots.size() ? 0 : i + 1;
    }
    void place(Slot slot);
    void grow();

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

}  // namespace plintor
