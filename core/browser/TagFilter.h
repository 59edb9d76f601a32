#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plintor {

// One bit per tag value modulo its size, about sixteen bits per tag held: most windows of a
// key are in no mask, and this answers "surely not filed" from cache where the table would
// cost a memory access each.
class TTagFilter {
public:
    // `tags` gives every tag held so far, for when the filter grows.
    template <typename Tags>
    void Insert(std::uint32_t tag, std::size_t held, Tags tags) {
        if (held * BitsPerTag > FBits.size() * 64) {
            Resize(held * BitsPerTag);
            tags([this](std::uint32_t old) { Set(old); });
        }
        Set(tag);
    }
    void Clear() { FBits = {}; }

    bool MayHold(std::uint32_t tag) const {
        if (FBits.empty()) {
            return false;
        }
        const std::uint32_t bit = tag & FMask;
        return (FBits[bit >> 6] >> (bit & 63)) & 1;
    }

private:
    static constexpr std::size_t BitsPerTag = 16;

    void Resize(std::size_t minimumBits);
    void Set(std::uint32_t tag) {
        const std::uint32_t bit = tag & FMask;
        FBits[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }

    std::vector<std::uint64_t> FBits;
    std::uint32_t FMask = 0;
};

}  // namespace plintor
