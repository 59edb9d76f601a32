#pragma once

#include <cstdint>
#include <span>

namespace plintor {

// The question a TagFilter answers, over its bits wherever they lie. `mask` + 1 is the number
// of bits (a power of two), which keeps every tag inside them.
class TagFilterView {
public:
    TagFilterView() = default;
    TagFilterView(std::span<const std::uint64_t> bits, std::uint32_t mask)
        : m_bits(bits), m_mask(mask) {}

    std::span<const std::uint64_t> bits() const { return m_bits; }
    std::uint32_t mask() const { return m_mask; }

    bool mayHold(std::uint32_t tag) const {
        if (m_bits.empty()) {
            return false;
        }
        const std::uint32_t bit = tag & m_mask;
        return (m_bits[bit >> 6] >> (bit & 63)) & 1;
    }

private:
    std::span<const std::uint64_t> m_bits;
    std::uint32_t m_mask = 0;
};

}  // namespace plintor
