#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// An address split into its parts; ComposeURI puts them together again.
struct TURI {
    std::string Protocol;
    std::string Username;
    std::string Password;
    std::string Host;
    std::string Port;
    std::string Path;      // up to and including the last "/"
    std::string Document;  // the last path segment
    std::string Params;    // after "?", without it
    std::string Bookmark;  // after "#", without it
};

// Fails (no value) on text that cannot be split: an empty text, a port that is not a number,
// a bracketed host without its closing bracket.
std::optional<TURI> ParseURI(std::string_view text);

std::string ComposeURI(const TURI& uri);

}  // namespace plintor
