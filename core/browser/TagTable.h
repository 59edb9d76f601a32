#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/browser/TagTableView.h"

namespace plintor {

// A hash multimap from 32-bit tags (hash values) to 32-bit mask references, open addressing
// with linear probing. The tag alone places an entry, so growing never rereads the masks;
// equal tags may stand for different texts, and callers check what they find. The lookups
// are its view's (TagTableView), which also reads a table mapped from a compiled image.
class TagTable {
public:
    static constexpr std::uint32_t NoRef = TagSlot::NoRef;

    void insert(std::uint32_t tag, std::uint32_t ref);
    void clear();
    std::size_t count(std::uint32_t tag) const;
    std::size_t size() const { return m_used; }

    TagTableView view() const { return TagTableView(m_slots); }

    void prefetch(std::uint32_t tag) const { view().prefetch(tag); }

    template <typename Visit>
    void forEachTag(Visit visit) const {
        for (const TagSlot& slot : m_slots) {
            if (slot.ref != NoRef) {
                visit(slot.tag);
            }
        }
    }

    template <typename Visit>
    void forEachOf(std::uint32_t tag, Visit visit) const {
        view().forEachOf(tag, visit);
    }

    template <typename Found>
    bool anyOf(std::uint32_t tag, Found found) const {
        return view().anyOf(tag, found);
    }

private:
    void place(TagSlot slot);
    void grow();

    std::vector<TagSlot> m_slots;
    std::size_t m_used = 0;
};

}  // namespace plintor
