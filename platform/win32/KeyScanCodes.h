#pragma once

#include <optional>
#include <string_view>

namespace plintor {

// Where a key sits on a PC keyboard, named as XKB names it (AE01, LFSH, KPEN...), as the
// keyboard's scan code of set 1; `extended` keys carry the E0 prefix.
struct ScanCode {
    unsigned short code = 0;
    bool extended = false;
};

std::optional<ScanCode> scanCodeOfKey(std::string_view keyName);

}  // namespace plintor
