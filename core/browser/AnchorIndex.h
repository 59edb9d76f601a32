#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/browser/AnchorIndexView.h"
#include "core/browser/MaskArena.h"
#include "core/browser/MaskShape.h"
#include "core/browser/TagFilter.h"
#include "core/browser/TagTable.h"
#include "core/browser/UrlMask.h"

namespace plintor {

// Masks with a literal run of at least three characters, each filed under one window of that
// text. A key can match only masks filed under one of its own windows, so a decision reads a
// handful of masks however long the list is.
class AnchorIndex {
public:
    // Where a mask goes: the window it is filed under and that window's length.
    struct Anchor {
        std::uint32_t tag = 0;
        std::size_t lengthSlot = 0;
    };

    // Chooses the window for a valid mask and starts loading the part of the table where Add
    // will file it. None when the mask has no literal run of three characters, or when all
    // its windows are crowded.
    std::optional<Anchor> choose(const MaskShape& shape) const;
    void add(MaskArena::Ref ref, Anchor anchor);
    void clear();
    AnchorIndexView view() const;

private:
    static constexpr auto WindowLengths = AnchorIndexView::WindowLengths;

    std::optional<std::uint32_t> chooseWindow(const MaskShape& shape, std::size_t length) const;

    TagTable m_table;
    TagFilter m_filter;
    std::array<std::uint64_t, WindowLengths.size()> m_masksPerLength{};
};

}  // namespace plintor
