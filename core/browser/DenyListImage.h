#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/browser/UrlLists.h"

namespace plintor {

// A compiled deny list laid out as one block of bytes that works wherever it is mapped: every
// part is found by its offset from the start, nothing by address. The program writes it once;
// each web process maps it read-only and reads it through DenyListView, so the list's pages are
// shared, never copied or compiled again.
struct DenyListImage {
    // The parts, each an array of fixed-size elements starting on an 8-byte boundary.
    enum Section : std::uint32_t {
        Texts,            // the texts' windows back to back (chars)
        TextWindows,      // per window: its offset in Texts and its size (2 × uint64)
        ByText,           // TagSlot
        Unanchored,       // uint32 references
        AnchorSlots,      // TagSlot
        AnchorFilter,     // uint64 bits
        HostNames,        // like Texts, for the host table's names
        HostNameWindows,  // like TextWindows
        HostByName,       // TagSlot
        HostFilter,       // uint64 bits
        HostNameOf,       // uint32
        HostFormsOf,      // uint8
        SectionCount
    };

    struct Extent {
        std::uint64_t offset;
        std::uint64_t size;  // bytes
    };

    // Plain data (no initialisers): it is copied to and from bytes.
    struct Header {
        std::array<char, 8> magic;
        std::uint32_t version;
        std::uint32_t headerSize;
        std::uint64_t imageSize;
        std::uint64_t checksum;  // of every byte, this field taken as 0
        std::array<Extent, SectionCount> sections;
        std::uint64_t anchorFilterMask;
        std::uint64_t hostFilterMask;
        std::uint64_t hostLongest;
        std::array<std::uint64_t, 4> masksPerLength;
        // DenyListState: an unreadable list denies everything, however few masks it holds.
        std::uint64_t state;
    };

    static constexpr std::array<char, 8> Magic = {'P', 'L', 'N', 'T', 'D', 'E', 'N', 'Y'};
    // Changes with the layout and with the hashes that place masks (MaskHash.h).
    static constexpr std::uint32_t Version = 2;

    // The image of the deny list of `lists`.
    static std::string of(const UrlLists& lists);
    // The checksum of a whole image (at least a header long), whatever its field holds.
    static std::uint64_t checksumOf(std::string_view image);
};

}  // namespace plintor
