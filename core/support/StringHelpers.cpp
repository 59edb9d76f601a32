#include "core/support/StringHelpers.h"

#include "core/support/NumberText.h"

namespace plintor {

std::string HexOf8(std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string HexOf16(std::uint16_t value) {
    return HexOf8(static_cast<std::uint8_t>(value >> 8)) + HexOf8(static_cast<std::uint8_t>(value));
}

std::string HexOf32(std::uint32_t value) {
    return HexOf16(static_cast<std::uint16_t>(value >> 16)) +
           HexOf16(static_cast<std::uint16_t>(value));
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

int MajorVersion(std::string_view versionText) {
    return ParseInteger(versionText.substr(0, versionText.find('.'))).value_or(0);
}

void AppendText(std::string_view text, std::string& destination) {
    destination += text;
}

}  // namespace plintor
