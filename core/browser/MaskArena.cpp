#include "core/browser/MaskArena.h"

#include <algorithm>
#include <stdexcept>

namespace plintor {
namespace {

constexpr std::size_t MaxWindows = 65535;  // keeps every reference below NoRef

std::size_t lengthPrefixSize(std::size_t length) {
    std::size_t size = 1;
    for (; length >= 0x80; length >>= 7) {
        ++size;
    }
    return size;
}

void appendLength(std::string& block, std::size_t length) {
    for (; length >= 0x80; length >>= 7) {
        block += static_cast<char>(0x80 | (length & 0x7F));
    }
    block += static_cast<char>(length);
}

}  // namespace

// Blocks grow from 4 KiB to a window (64 KiB), so a short list stays small and a long one
// wastes at most the end of its last block.
std::string& MaskArena::blockFor(std::size_t recordSize) {
    if (!m_blocks.empty()) {
        std::string& last = m_blocks.back();
        if (last.capacity() - last.size() >= recordSize && last.size() + recordSize <= WindowSize) {
            return last;
        }
    }
    const std::size_t previous = m_blocks.empty() ? 0 : m_blocks.back().capacity();
    const std::size_t capacity =
        std::max(recordSize, std::clamp(previous * 2, FirstBlockSize, WindowSize));
    const std::size_t windows = (capacity + WindowSize - 1) / WindowSize;
    if (m_blocks.size() + windows > MaxWindows) {
        throw std::length_error("a mask list cannot hold more than 4 GiB of text");
    }
    m_blocks.resize(m_blocks.size() + windows);
    m_windows.resize(m_blocks.size());
    std::string& block = m_blocks[m_blocks.size() - windows];
    block.reserve(capacity);
    return block;
}

MaskArena::Ref MaskArena::add(std::string_view text) {
    const std::size_t recordSize = lengthPrefixSize(text.size()) + text.size();
    std::string& block = blockFor(recordSize);
    const auto window = static_cast<std::size_t>(&block - m_blocks.data());
    const auto ref = static_cast<Ref>((window << WindowBits) + block.size());
    appendLength(block, text.size());
    block.append(text);
    m_windows[window] = block;
    ++m_count;
    return ref;
}

void MaskArena::clear() {
    m_blocks = {};
    m_windows = {};
    m_count = 0;
}

}  // namespace plintor
