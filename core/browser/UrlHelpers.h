#pragma once

#include <string>
#include <string_view>

namespace plintor {

// A drive path such as C:\Temp\a.pdf (a forward slash in third place does not count).
bool IsLocalPath(std::string_view text);
// A scheme name: a letter, then letters, digits, "+", "-" or ".".
bool IsUrlScheme(std::string_view text);
bool IsUrlSchemeCharacter(char32_t c);

// The text with each "%XX" escape replaced by its byte where `decodes` accepts that byte.
std::string DecodePercentEscapes(std::string_view text, bool (*decodes)(char));

// Begins with "file:", ignoring case and surrounding blanks.
bool IsFileURL(std::string_view text);

std::string StripURLQuery(std::string_view text);       // up to the first "?"
std::string StripTrailingSlash(std::string_view text);  // one "/" at the end
std::string StripURLScheme(std::string_view text);      // after the first "://"
std::string ToForwardSlashes(std::string_view text);    // trimmed, "\" becomes "/"

// The file-URL form of a local address (C:\x gives file:///C:/x, /tmp/x file:///tmp/x); other
// text comes back trimmed.
std::string ToFileURL(std::string_view text);

// The lower-case extension of the URL's document name with its dot (".pdf"); empty when there
// is none or the URL cannot be parsed.
std::string ExtractURLFileExt(std::string_view url);

}  // namespace plintor
