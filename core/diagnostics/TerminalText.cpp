#include "core/diagnostics/TerminalText.h"

#include <cstdio>

#include "core/support/TextCodec.h"

namespace plintor {
namespace {

bool isBidiOrSeparator(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void appendEscape(std::string& out, const char* format, unsigned int value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    out += escape;
}

}  // namespace

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = nextCodePoint(text, pos);
        if (c == InvalidUtf8) {
            appendEscape(out, "\\x%02X", static_cast<unsigned char>(text[start]));
        } else if (c < 0x20 || c == 0x7F) {
            appendEscape(out, "\\x%02X", static_cast<unsigned int>(c));
        } else if ((c >= 0x80 && c <= 0x9F) || isBidiOrSeparator(c)) {
            appendEscape(out, "\\u%04X", static_cast<unsigned int>(c));
        } else {
            out.append(text.substr(start, pos - start));
        }
    }
    return out;
}

}  // namespace plintor
