#include "core/browser/TagFilter.h"

namespace plintor {

void TagFilter::resize(std::size_t minimumBits) {
    std::size_t bits = 1024;
    while (bits < minimumBits && bits < (std::size_t{1} << 32)) {
        bits *= 2;
    }
    m_bits.assign(bits / 64, 0);
    m_mask = static_cast<std::uint32_t>(bits - 1);
}

}  // namespace plintor
