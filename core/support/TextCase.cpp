#include "core/support/TextCase.h"

#include "core/support/SystemFiles.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string asciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = asciiUpper(c);
    }
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = asciiLower(c);
    }
    return out;
}

std::string upperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t cp = nextCodePoint(text, pos);
        if (cp < 0x80) {
            out += asciiUpper(text[start]);
        } else if (cp == InvalidUtf8 || cp > 0xFFFF) {
            out.append(text.substr(start, pos - start));
        } else {
            appendUtf8(out, upperCaseCharacter(cp));
        }
    }
    return out;
}

std::string_view trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) {
        --last;
    }
    return text.substr(first, last - first);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace plintor
