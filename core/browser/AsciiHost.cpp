#include "core/browser/AsciiHost.h"

#include <algorithm>
#include <optional>

#include "core/support/IdnaText.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

std::string asciiLabel(std::string_view label) {
    if (isAsciiText(label)) {
        return asciiLower(label);
    }
    return idnaToAscii(label).value_or(std::string(label));
}

}  // namespace

bool isAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// IDNA refuses a whole name for one label the engine takes anyway (a hyphen in the third and
// fourth place, say); the other labels must still get the engine's form.
std::string asciiHostName(std::string_view name) {
    if (isAsciiText(name)) {
        return asciiLower(name);
    }
    if (std::optional<std::string> whole = idnaToAscii(name)) {
        return std::move(*whole);
    }
    std::string ascii;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = std::min(name.find('.', start), name.size());
        ascii += asciiLabel(name.substr(start, dot - start));
        if (dot == name.size()) {
            return ascii;
        }
        ascii += '.';
        start = dot + 1;
    }
}

}  // namespace plintor
