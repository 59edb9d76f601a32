#include "core/browser/MaskArena.h"

#include <algorithm>
#include <stdexcept>

namespace plintor {
namespace {

constexpr std::size_t MaxWindows = 65535;  // keeps every reference below NoRef

std::size_t LengthPrefixSize(std::size_t length) {
    std::size_t size = 1;
    for (; length >= 0x80; length >>= 7) {
        ++size;
    }
    return size;
}

void AppendLength(std::string& block, std::size_t length) {
    for (; length >= 0x80; length >>= 7) {
        block += static_cast<char>(0x80 | (length & 0x7F));
    }
    block += static_cast<char>(length);
}

}  // namespace

std::string_view TMaskArena::ReadRecord(const std::string& block, std::size_t pos) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(block[pos++]);
        length |= std::size_t{byte & 0x7Fu} << shift;
        if (byte < 0x80) {
            break;
        }
    }
    return std::string_view(block).substr(pos, length);
}

// Blocks grow from 4 KiB to a window (64 KiB), so a short list stays small and a long one
// wastes at most the end of its last block.
std::string& TMaskArena::BlockFor(std::size_t recordSize) {
    if (!FBlocks.empty()) {
        std::string& last = FBlocks.back();
        if (last.capacity() - last.size() >= recordSize && last.size() + recordSize <= WindowSize) {
            return last;
        }
    }
    const std::size_t previous = FBlocks.empty() ? 0 : FBlocks.back().capacity();
    const std::size_t capacity =
        std::max(recordSize, std::clamp(previous * 2, FirstBlockSize, WindowSize));
    const std::size_t windows = (capacity + WindowSize - 1) / WindowSize;
    if (FBlocks.size() + windows > MaxWindows) {
        throw std::length_error("a mask list cannot hold more than 4 GiB of text");
    }
    FBlocks.resize(FBlocks.size() + windows);
    std::string& block = FBlocks[FBlocks.size() - windows];
    block.reserve(capacity);
    return block;
}

TMaskArena::TRef TMaskArena::Add(std::string_view text) {
    const std::size_t recordSize = LengthPrefixSize(text.size()) + text.size();
    std::string& block = BlockFor(recordSize);
    const auto window = static_cast<std::size_t>(&block - FBlocks.data());
    const auto ref = static_cast<TRef>((window << WindowBits) + block.size());
    AppendLength(block, text.size());
    block.append(text);
    ++FCount;
    return ref;
}

std::string_view TMaskArena::Text(TRef ref) const {
    return ReadRecord(FBlocks[ref >> WindowBits], ref & (WindowSize - 1));
}

void TMaskArena::Clear() {
    FBlocks = {};
    FCount = 0;
}

}  // namespace plintor
