#include "core/support/IdnaText.h"

#include <idn2.h>

#include <cstdlib>
#include <memory>

namespace plintor {

std::optional<std::string> idnaToAscii(std::string_view host) {
    const std::string text(host);
    char* ascii = nullptr;
    if (idn2_to_ascii_8z(text.c_str(), &ascii, IDN2_NONTRANSITIONAL) != IDN2_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<char, decltype(&std::free)> owned(ascii, &std::free);
    return std::string(ascii);
}

}  // namespace plintor
