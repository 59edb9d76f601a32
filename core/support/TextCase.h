#pragma once

#include <string>
#include <string_view>

namespace plintor {

char asciiUpper(char c);
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);

// Upper-cases every letter that has a simple upper-case form, not only ASCII ones
// (the way the system upper-cases addresses and masks).
std::string upperCase(std::string_view text);

// Removes leading and trailing characters of code U+0020 and below.
std::string_view trim(std::string_view text);

bool startsWithNoCase(std::string_view text, std::string_view prefix);  // ASCII case only
bool equalsNoCase(std::string_view a, std::string_view b);              // ASCII case only

}  // namespace plintor
