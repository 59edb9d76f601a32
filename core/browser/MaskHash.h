#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace plintor {

// Windows of code points are hashed as polynomials, so the key's windows can be rolled along
// it one step at a time and still equal the hash a mask's window got when it was added.
constexpr std::uint64_t WindowBase = 0x9E3779B97F4A7C15ull;

constexpr std::uint64_t windowPower(std::size_t length) {
    std::uint64_t power = 1;
    for (std::size_t i = 0; i < length; ++i) {
        power *= WindowBase;
    }
    return power;
}

inline std::uint64_t windowPolynomial(std::u32string_view window) {
    std::uint64_t h = 0;
    for (const char32_t c : window) {
        h = h * WindowBase + c;
    }
    return h;
}

// The polynomial's upper bits already depend on every code point; one more multiplication
// spreads them over the tag (the length keeps windows of different sizes apart).
inline std::uint32_t windowTag(std::uint64_t polynomial, std::size_t length) {
    return static_cast<std::uint32_t>(((polynomial + length) * 0xD6E8FEB86659FD93ull) >> 32);
}

inline std::uint32_t textTagOf(std::string_view text) {
    const std::size_t h = std::hash<std::string_view>{}(text);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

}  // namespace plintor
