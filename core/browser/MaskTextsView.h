#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace plintor {

// The texts of a MaskArena read by reference, wherever the arena's windows lie. Each window
// is the text of one block (empty where a wide text's block spans it); a reference is a window
// (its upper bits) and an offset in it. Reading is bounded by the window, so a reference from
// a damaged image gives an empty text, never bytes outside.
class MaskTextsView {
public:
    static constexpr int WindowBits = 16;
    static constexpr std::size_t WindowSize = std::size_t{1} << WindowBits;

    MaskTextsView() = default;
    explicit MaskTextsView(std::span<const std::string_view> windows) : m_windows(windows) {}

    std::span<const std::string_view> windows() const { return m_windows; }

    std::string_view text(std::uint32_t ref) const;
    // Starts loading a text that is about to be read.
    void prefetch(std::uint32_t ref) const {
#if defined(__GNUC__)
        const std::size_t window = ref >> WindowBits;
        if (window < m_windows.size()) {
            __builtin_prefetch(m_windows[window].data() + (ref & (WindowSize - 1)));
        }
#else
        (void)ref;
#endif
    }

    // The record (length in front, then the text) that starts at `pos` of a block; empty when
    // it does not lie wholly inside.
    static std::string_view readRecord(std::string_view block, std::size_t pos);

private:
    std::span<const std::string_view> m_windows;
};

}  // namespace plintor
