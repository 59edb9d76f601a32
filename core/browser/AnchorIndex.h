#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/browser/MaskArena.h"
#include "core/browser/MaskShape.h"
#include "core/browser/TagFilter.h"
#include "core/browser/TagTable.h"
#include "core/browser/UrlMask.h"

namespace plintor {

// Masks with a literal run of at least three characters, each filed under one window of that
// text. A key can match only masks filed under one of its own windows, so a decision reads a
// handful of masks however long the list is.
class TAnchorIndex {
public:
    // Where a mask goes: the window it is filed under and that window's length.
    struct TAnchor {
        std::uint32_t Tag = 0;
        std::size_t LengthSlot = 0;
    };

    // Chooses the window for a valid mask and starts loading the part of the table where Add
    // will file it. None when the mask has no literal run of three characters, or when all
    // its windows are crowded.
    std::optional<TAnchor> Choose(const TMaskShape& shape) const;
    void Add(TMaskArena::TRef ref, TAnchor anchor);
    void Clear();
    bool AnyMatches(std::u32string_view key, const TMaskArena& texts, TMaskRole role) const;

private:
    // Window lengths in use. A mask takes the longest that fits its longest run; a few
    // lengths keep the number of probes per key small.
    static constexpr std::array<std::size_t, 4> WindowLengths = {3, 4, 6, 8};

    std::optional<std::uint32_t> ChooseWindow(const TMaskShape& shape, std::size_t length) const;

    TTagTable FTable;
    TTagFilter FFilter;
    std::array<std::size_t, WindowLengths.size()> FMasksPerLength{};
};

}  // namespace plintor
