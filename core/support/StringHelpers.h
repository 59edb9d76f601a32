#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plintor {

std::string hexOf8(std::uint8_t value);    // two upper-case digits
std::string hexOf16(std::uint16_t value);  // four
std::string hexOf32(std::uint32_t value);  // eight, e.g. 1033 gives 00000409

// The value of a hexadecimal digit in either case; -1 for any other character.
int hexDigitValue(char c);

// The first number of a version text such as 11.0.17134.1; 0 when it is not a number.
int majorVersion(std::string_view versionText);

void appendText(std::string_view text, std::string& destination);

// The value of `name` in a list of "NAME=value" entries (a process environment); empty when the
// list has none.
std::string_view environmentValue(const std::vector<std::string>& environment,
                                  std::string_view name);

}  // namespace plintor
