#include "core/browser/MatchKey.h"

#include "core/browser/MaskToken.h"
#include "core/support/TextCodec.h"

namespace plintor {

MatchKey::MatchKey(std::string_view key) {
    m_codes.resize(key.size());
    m_text.reserve(key.size());
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < key.size();) {
        const char32_t c = foldAscii(readCodePoint(key, pos));
        m_codes[count++] = c;
        if (c < 0x80) {
            m_text += static_cast<char>(c);
        } else {
            appendUtf8(m_text, c);
        }
    }
    m_codes.resize(count);
}

}  // namespace plintor
