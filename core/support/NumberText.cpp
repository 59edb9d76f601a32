#include "core/support/NumberText.h"

#include "core/support/StringHelpers.h"

namespace plintor {
namespace {

std::size_t hexPrefixLength(std::string_view text) {
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        return 1;
    }
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return 2;
    }
    return 0;
}

}  // namespace

std::optional<std::int32_t> parseInteger(std::string_view text) {
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t hexPrefix = hexPrefixLength(text);
    const int base = hexPrefix > 0 ? 16 : 10;
    text.remove_prefix(hexPrefix);
    if (text.empty()) {
        return std::nullopt;
    }
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    const auto value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return value;
}

}  // namespace plintor
