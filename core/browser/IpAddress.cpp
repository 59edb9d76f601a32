#include "core/browser/IpAddress.h"

#include <array>
#include <cstdint>
#include <vector>

#include "core/support/StringHelpers.h"

namespace plintor {
namespace {

// One part of an IPv4 number: decimal, octal with a leading 0, hexadecimal with 0x.
std::optional<std::uint64_t> ipv4Part(std::string_view part) {
    int base = 10;
    if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
        base = 16;
        part.remove_prefix(2);
    } else if (part.size() >= 2 && part[0] == '0') {
        base = 8;
        part.remove_prefix(1);
    }
    std::uint64_t value = 0;
    for (const char c : part) {
        const int digit = hexDigitValue(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    return value;
}

std::vector<std::string_view> splitDots(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dot = text.find('.', start);
        parts.push_back(text.substr(start, dot - start));
        if (dot == std::string_view::npos) {
            return parts;
        }
        start = dot + 1;
    }
}

std::string dottedIpv4(std::uint32_t address) {
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
           std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

using Ipv6Groups = std::array<std::uint16_t, 8>;

// Reads the groups on one side of "::" into `groups`; an embedded IPv4 address may end the
// last side. False when the text is not made of such groups.
bool readIpv6Side(std::string_view text, std::vector<std::uint16_t>& groups, bool last) {
    if (text.empty()) {
        return true;
    }
    for (std::size_t start = 0;;) {
        const std::size_t colon = text.find(':', start);
        const std::string_view group = text.substr(start, colon - start);
        if (last && colon == std::string_view::npos && group.find('.') != std::string_view::npos) {
            const std::vector<std::string_view> parts = splitDots(group);
            if (parts.size() != 4) {
                return false;
            }
            std::uint32_t address = 0;
            for (const std::string_view part : parts) {
                if (part.empty() || part.size() > 3 ||
                    part.find_first_not_of("0123456789") != std::string_view::npos ||
                    std::stoi(std::string(part)) > 255) {
                    return false;
                }
                address = address << 8 | static_cast<std::uint32_t>(std::stoi(std::string(part)));
            }
            groups.push_back(static_cast<std::uint16_t>(address >> 16));
            groups.push_back(static_cast<std::uint16_t>(address & 0xFFFF));
            return true;
        }
        if (group.empty() || group.size() > 4) {
            return false;
        }
        std::uint16_t value = 0;
        for (const char c : group) {
            const int digit = hexDigitValue(c);
            if (digit < 0) {
                return false;
            }
            value = static_cast<std::uint16_t>(value << 4 | digit);
        }
        groups.push_back(value);
        if (colon == std::string_view::npos) {
            return true;
        }
        start = colon + 1;
    }
}

std::optional<Ipv6Groups> parseIpv6(std::string_view text) {
    const std::size_t gap = text.find("::");
    std::vector<std::uint16_t> head;
    std::vector<std::uint16_t> tail;
    if (gap == std::string_view::npos) {
        if (!readIpv6Side(text, head, true) || head.size() != 8) {
            return std::nullopt;
        }
    } else if (text.find("::", gap + 1) != std::string_view::npos ||
               !readIpv6Side(text.substr(0, gap), head, false) ||
               !readIpv6Side(text.substr(gap + 2), tail, true) || head.size() + tail.size() > 7) {
        return std::nullopt;
    }
    Ipv6Groups groups{};
    std::copy(head.begin(), head.end(), groups.begin());
    std::copy(tail.begin(), tail.end(), groups.end() - static_cast<std::ptrdiff_t>(tail.size()));
    return groups;
}

// RFC 5952: lower-case hexadecimal without leading zeros, the longest run of two or more zero
// groups (the first of equals) written as "::".
std::string shortestIpv6(const Ipv6Groups& groups) {
    std::size_t bestStart = groups.size();
    std::size_t bestLength = 1;
    for (std::size_t i = 0; i < groups.size();) {
        std::size_t j = i;
        while (j < groups.size() && groups[j] == 0) {
            ++j;
        }
        if (j - i > bestLength) {
            bestStart = i;
            bestLength = j - i;
        }
        i = j == i ? i + 1 : j;
    }
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text = "[";
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i == bestStart) {
            text += "::";
            i += bestLength - 1;
            continue;
        }
        if (!text.ends_with(':') && text.size() > 1) {
            text += ':';
        }
        std::string group;
        for (std::uint16_t value = groups[i]; value != 0 || group.empty(); value >>= 4) {
            group.insert(group.begin(), Digits[value & 0xF]);
        }
        text += group;
    }
    return text + "]";
}

}  // namespace

std::optional<std::string> canonicalIpv4(std::string_view host) {
    if (host.ends_with('.')) {
        host.remove_suffix(1);  // one empty last label is allowed
    }
    const std::vector<std::string_view> parts = splitDots(host);
    const std::string_view lastPart = parts.back();
    if (parts.size() > 4 || lastPart.empty() ||
        (lastPart.find_first_not_of("0123456789") != std::string_view::npos &&
         !ipv4Part(lastPart))) {
        return std::nullopt;  // a name, not a number
    }
    std::uint64_t address = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<std::uint64_t> value =
            parts[i].empty() ? std::nullopt : ipv4Part(parts[i]);
        if (!value) {
            return std::nullopt;
        }
        const bool last = i + 1 == parts.size();
        const int bits = last ? 8 * static_cast<int>(5 - parts.size()) : 8;
        if (bits < 64 && *value >= (std::uint64_t{1} << bits)) {
            return std::nullopt;
        }
        address = last ? (address << bits) | *value : (address << 8) | *value;
    }
    return dottedIpv4(static_cast<std::uint32_t>(address));
}

std::optional<std::string> canonicalIpv6(std::string_view inner) {
    const std::optional<Ipv6Groups> groups = parseIpv6(inner);
    if (!groups) {
        return std::nullopt;
    }
    const Ipv6Groups& g = *groups;
    const bool mapped =
        g[0] == 0 && g[1] == 0 && g[2] == 0 && g[3] == 0 && g[4] == 0 && g[5] == 0xFFFF;
    if (mapped) {
        return dottedIpv4(static_cast<std::uint32_t>(g[6]) << 16 | g[7]);
    }
    return shortestIpv6(g);
}

}  // namespace plintor
