#include "core/browser/ServerSideForm.h"

#include <vector>

#include "core/browser/UrlHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

bool isUnreservedOrSlash(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

// Keys are upper-cased, so a decoded letter is upper-cased too.
std::string decodeUnreserved(std::string_view path) {
    return asciiUpper(decodePercentEscapes(path, isUnreservedOrSlash));
}

// Segments between single slashes, each without its parameters (";" on: Java servers read
// "/private;jsessionid=1/secret" as "/private/secret" and "/..;/" as "/../"), with empty ones
// (runs of "/") dropped and dot segments applied as RFC 3986 does.
std::string resolveSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        std::string_view segment = path.substr(start, slash - start);
        segment = segment.substr(0, segment.find(';'));
        if (segment == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            kept.push_back(segment);
        }
        start = slash + 1;
    }
    std::string resolved;
    for (const std::string_view segment : kept) {
        resolved += '/';
        resolved += segment;
    }
    return resolved;
}

}  // namespace

std::optional<std::string> serverSideForm(std::string_view key) {
    const std::size_t schemeEnd = key.find("://");
    if (schemeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t pathStart = std::min(key.find('/', schemeEnd + 3), key.size());
    const std::string form = std::string(key.substr(0, pathStart)) +
                             resolveSegments(decodeUnreserved(key.substr(pathStart)));
    if (form == key) {
        return std::nullopt;
    }
    return form;
}

}  // namespace plintor
