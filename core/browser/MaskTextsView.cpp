#include "core/browser/MaskTextsView.h"

namespace plintor {
namespace {

constexpr int MaxLengthBytes = 5;  // 7 bits each: enough for any 32-bit length

}  // namespace

std::string_view MaskTextsView::readRecord(std::string_view block, std::size_t pos) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        if (pos >= block.size() || shift == 7 * MaxLengthBytes) {
            return {};
        }
        const auto byte = static_cast<unsigned char>(block[pos++]);
        length |= std::size_t{byte & 0x7Fu} << shift;
        if (byte < 0x80) {
            break;
        }
    }
    return length <= block.size() - pos ? block.substr(pos, length) : std::string_view();
}

std::string_view MaskTextsView::text(std::uint32_t ref) const {
    const std::size_t window = ref >> WindowBits;
    if (window >= m_windows.size()) {
        return {};
    }
    return readRecord(m_windows[window], ref & (WindowSize - 1));
}

}  // namespace plintor
