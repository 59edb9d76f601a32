#include "core/browser/TagFilter.h"

namespace plintor {

void TTagFilter::Resize(std::size_t minimumBits) {
    std::size_t bits = 1024;
    while (bits < minimumBits && bits < (std::size_t{1} << 32)) {
        bits *= 2;
    }
    FBits.assign(bits / 64, 0);
    FMask = static_cast<std::uint32_t>(bits - 1);
}

}  // namespace plintor
