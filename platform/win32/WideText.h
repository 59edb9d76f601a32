#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The program speaks UTF-8; the Windows API speaks UTF-16. Invalid sequences become U+FFFD.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

}  // namespace plintor
