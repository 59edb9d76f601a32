#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plintor {

std::string hexOf8(std::uint8_t value);    // two upper-case digits
std::string hexOf16(std::uint16_t value);  // four
std::string hexOf32(std::uint32_t value);  // eight, e.g. 1033 gives 00000409

// The value of a hexadecimal digit in either case; -1 for any other character.
int hexDigitValue(char c);

// The first number of a version text such as 11.0.17134.1; 0 when it is not a number.
int majorVersion(std::string_view versionText);

void appendText(std::string_view text, std::string& destination);

}  // namespace plintor
