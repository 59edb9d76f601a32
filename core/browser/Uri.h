#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// An address split into its parts; ComposeURI puts them together again.
struct Uri {
    std::string protocol;
    std::string username;
    std::string password;
    std::string host;
    std::string port;
    std::string path;      // up to and including the last "/"
    std::string document;  // the last path segment
    std::string params;    // after "?", without it
    std::string bookmark;  // after "#", without it
};

// Fails (no value) on text that cannot be split: an empty text, a port that is not a number,
// a bracketed host without its closing bracket.
std::optional<Uri> parseUri(std::string_view text);

std::string composeUri(const Uri& uri);

}  // namespace plintor
