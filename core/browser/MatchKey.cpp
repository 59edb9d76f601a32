#include "core/browser/MatchKey.h"

#include "core/browser/MaskToken.h"
#include "core/support/TextCodec.h"

namespace plintor {

TMatchKey::TMatchKey(std::string_view key) {
    FCodes.resize(key.size());
    FText.reserve(key.size());
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < key.size();) {
        const char32_t c = FoldAscii(ReadCodePoint(key, pos));
        FCodes[count++] = c;
        if (c < 0x80) {
            FText += static_cast<char>(c);
        } else {
            AppendUtf8(FText, c);
        }
    }
    FCodes.resize(count);
}

}  // namespace plintor
