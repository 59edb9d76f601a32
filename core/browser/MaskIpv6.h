#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/browser/IpAddress.h"

namespace plintor {

// Whether the "[" at `pos` starts an IPv6 address that the mask names literally: it stands right
// after "://" and an IPv6 address reaches up to the next "]". So "*://[::1]*" means that host
// instead of a set of characters that matches nothing there. Works on the mask's text and on
// its code points alike.
template <typename Char>
bool opensIpv6Address(std::basic_string_view<Char> mask, std::size_t pos) {
    constexpr std::size_t LongestAddress = 64;
    if (pos < 3 || mask[pos] != '[' || mask[pos - 3] != ':' || mask[pos - 2] != '/' ||
        mask[pos - 1] != '/') {
        return false;
    }
    std::string inner;
    for (std::size_t i = pos + 1; i < mask.size() && inner.size() <= LongestAddress; ++i) {
        if (mask[i] == ']') {
            return canonicalIpv6(inner).has_value();
        }
        if (static_cast<char32_t>(mask[i]) >= 0x80) {
            return false;
        }
        inner += static_cast<char>(mask[i]);
    }
    return false;
}

}  // namespace plintor
