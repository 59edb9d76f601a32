#pragma once

#include <string>
#include <string_view>

namespace plintor {

char AsciiUpper(char c);
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);

// Upper-cases every letter that has a simple upper-case form, not only ASCII ones
// (the way the system upper-cases addresses and masks).
std::string UpperCase(std::string_view text);

// Removes leading and trailing characters of code U+0020 and below.
std::string_view Trim(std::string_view text);

bool StartsWithNoCase(std::string_view text, std::string_view prefix);  // ASCII case only
bool EqualsNoCase(std::string_view a, std::string_view b);              // ASCII case only

}  // namespace plintor
