#include "core/support/StringHelpers.h"

#include "core/support/NumberText.h"

namespace plintor {

std::string hexOf8(std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string hexOf16(std::uint16_t value) {
    return hexOf8(static_cast<std::uint8_t>(value >> 8)) + hexOf8(static_cast<std::uint8_t>(value));
}

std::string hexOf32(std::uint32_t value) {
    return hexOf16(static_cast<std::uint16_t>(value >> 16)) +
           hexOf16(static_cast<std::uint16_t>(value));
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

int majorVersion(std::string_view versionText) {
    return parseInteger(versionText.substr(0, versionText.find('.'))).value_or(0);
}

void appendText(std::string_view text, std::string& destination) {
    destination += text;
}

std::string_view environmentValue(const std::vector<std::string>& environment,
                                  std::string_view name) {
    for (const std::string& entry : environment) {
        if (entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=') {
            return std::string_view(entry).substr(name.size() + 1);
        }
    }
    return {};
}

}  // namespace plintor
