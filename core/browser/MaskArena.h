#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/MaskTextsView.h"

namespace plintor {

// The texts of a mask list packed one after another, each with its length in front, so a
// million masks cost their bytes and a 32-bit reference each instead of a string object each.
class MaskArena {
public:
    using Ref = std::uint32_t;
    static constexpr Ref NoRef = 0xFFFFFFFF;

    // Raises std::length_error past 4 GiB of text in one list.
    Ref add(std::string_view text);
    std::string_view text(Ref ref) const { return view().text(ref); }
    // Starts loading a text that is about to be read.
    void prefetch(Ref ref) const { view().prefetch(ref); }
    void clear();
    MaskTextsView view() const { return MaskTextsView(m_windows); }
    std::size_t count() const { return m_count; }

    // Calls `visit` with every text in the order added.
    template <typename Visit>
    void forEach(Visit visit) const {
        for (const std::string_view block : m_windows) {
            for (std::size_t pos = 0; pos < block.size();) {
                const std::string_view text = MaskTextsView::readRecord(block, pos);
                visit(text);
                pos = static_cast<std::size_t>(text.data() + text.size() - block.data());
            }
        }
    }

private:
    // A reference is a block's window (its upper bits) and an offset in the block. A text too
    // long for one window gets a block of its own that spans as many windows as it needs.
    static constexpr int WindowBits = MaskTextsView::WindowBits;
    static constexpr std::size_t WindowSize = MaskTextsView::WindowSize;
    static constexpr std::size_t FirstBlockSize = 4096;

    std::string& blockFor(std::size_t recordSize);

    std::vector<std::string> m_blocks;  // one per window; a wide text's extra windows stay empty
    // What each block holds so far, as the readers see it (a block never moves: it is
    // reserved in full when it is made).
    std::vector<std::string_view> m_windows;
    std::size_t m_count = 0;
};

}  // namespace plintor
