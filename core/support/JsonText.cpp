#include "core/support/JsonText.h"

#include <cstdio>

#include "core/support/TextCodec.h"

namespace plintor {
namespace {

void appendEscaped(std::string& out, char32_t codePoint) {
    switch (codePoint) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (codePoint < 0x20 || codePoint == 0x2028 || codePoint == 0x2029 ||
        codePoint == InvalidUtf8) {
        char escape[7];
        std::snprintf(escape, sizeof escape, "\\u%04x",
                      codePoint == InvalidUtf8 ? 0xFFFDu : static_cast<unsigned>(codePoint));
        out += escape;
        return;
    }
    appendUtf8(out, codePoint);
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t pos = 0; pos < text.size();) {
        appendEscaped(out, nextCodePoint(text, pos));
    }
    out += '"';
    return out;
}

}  // namespace plintor
