#include "core/support/IdnaText.h"

#include <windows.h>

#include "core/support/TextCase.h"
#include "platform/win32/WideText.h"

namespace plintor {

// The system's IDNA maps the same separators and forms; it knows IDNA 2003, so a few letters
// ("ß") come out as their older mapping.
std::optional<std::string> idnaToAscii(std::string_view host) {
    const std::wstring wide = toWide(host);
    if (wide.empty()) {
        return std::string();
    }
    const int size = IdnToAscii(0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::wstring ascii(static_cast<std::size_t>(size), L'\0');
    if (IdnToAscii(0, wide.c_str(), static_cast<int>(wide.size()), ascii.data(), size) != size) {
        return std::nullopt;
    }
    return asciiLower(toUtf8(ascii));
}

}  // namespace plintor
