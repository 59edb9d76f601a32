#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/browser/TagFilterView.h"

namespace plintor {

// One bit per tag value modulo its size, about sixteen bits per tag held: most windows of a
// key are in no mask, and this answers "surely not filed" from cache where the table would
// cost a memory access each.
class TagFilter {
public:
    // `tags` gives every tag held so far, for when the filter grows.
    template <typename Tags>
    void insert(std::uint32_t tag, std::size_t held, Tags tags) {
        if (held * BitsPerTag > m_bits.size() * 64) {
            resize(held * BitsPerTag);
            tags([this](std::uint32_t old) { set(old); });
        }
        set(tag);
    }
    void clear() { m_bits = {}; }

    TagFilterView view() const { return TagFilterView(m_bits, m_mask); }
    bool mayHold(std::uint32_t tag) const { return view().mayHold(tag); }

private:
    static constexpr std::size_t BitsPerTag = 16;

    void resize(std::size_t minimumBits);
    void set(std::uint32_t tag) {
        const std::uint32_t bit = tag & m_mask;
        m_bits[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }

    std::vector<std::uint64_t> m_bits;
    std::uint32_t m_mask = 0;
};

}  // namespace plintor
