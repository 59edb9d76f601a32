#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/browser/MaskTextsView.h"
#include "core/browser/TagFilterView.h"
#include "core/browser/TagTableView.h"
#include "core/browser/UrlMask.h"

namespace plintor {

// The decision of an AnchorIndex over its parts, wherever they lie: a key can match only masks
// filed under one of its own windows.
struct AnchorIndexView {
    // Window lengths in use. A mask takes the longest that fits its longest run; a few
    // lengths keep the number of probes per key small.
    static constexpr std::array<std::size_t, 4> WindowLengths = {3, 4, 6, 8};

    TagTableView table;  // window tag -> mask reference
    TagFilterView filter;
    std::array<std::uint64_t, WindowLengths.size()> masksPerLength{};

    bool anyMatches(std::u32string_view key, const MaskTextsView& texts, MaskRole role) const;
};

}  // namespace plintor
