#include "core/browser/UrlHelpers.h"

#include <algorithm>

#include "core/browser/Uri.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

bool IsLocalPath(std::string_view text) {
    const std::string path = AsciiUpper(Trim(text));
    return path.size() >= 3 && path[0] >= 'A' && path[0] <= 'Z' && path[1] == ':' &&
           path[2] == '\\';
}

bool IsUrlSchemeCharacter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

bool IsUrlScheme(std::string_view text) {
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    return !text.empty() && isLetter(text[0]) && std::all_of(text.begin(), text.end(), [](char c) {
        return IsUrlSchemeCharacter(static_cast<unsigned char>(c));
    });
}

std::string DecodePercentEscapes(std::string_view text, bool (*decodes)(char)) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            const auto byte =
                static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            if (decodes(byte)) {
                decoded += byte;
                i += 2;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

bool IsFileURL(std::string_view text) {
    return StartsWithNoCase(Trim(text), "file:");
}

std::string StripURLQuery(std::string_view text) {
    return std::string(text.substr(0, text.find('?')));
}

std::string StripTrailingSlash(std::string_view text) {
    return std::string(text.ends_with('/') ? text.substr(0, text.size() - 1) : text);
}

std::string StripURLScheme(std::string_view text) {
    const std::size_t schemeEnd = text.find("://");
    return std::string(schemeEnd == std::string_view::npos ? text : text.substr(schemeEnd + 3));
}

std::string ToForwardSlashes(std::string_view text) {
    std::string result(Trim(text));
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

std::string ToFileURL(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (IsLocalPath(trimmed)) {
        return "file:///" + ToForwardSlashes(trimmed);
    }
    if (IsFileURL(trimmed)) {
        std::string path = ToForwardSlashes(Trim(StripURLScheme(trimmed)));
        if (!path.starts_with('/')) {
            path.insert(0, "/");
        }
        return "file://" + path;
    }
    // An absolute path of this system's files (where paths have no drive letter).
    if (trimmed.starts_with('/') && !trimmed.starts_with("//")) {
        return "file://" + std::string(trimmed);
    }
    return std::string(trimmed);
}

std::string ExtractURLFileExt(std::string_view url) {
    const std::optional<TURI> uri = ParseURI(ToFileURL(url));
    if (!uri) {
        return {};
    }
    const std::string_view document = Trim(uri->Document);
    const std::size_t dot = document.rfind('.');
    if (dot == std::string_view::npos ||
        document.find_first_of("\\:", dot) != std::string_view::npos) {
        return {};
    }
    return AsciiLower(document.substr(dot));
}

}  // namespace plintor
