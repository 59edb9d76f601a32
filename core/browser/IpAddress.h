#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// A host written as an IPv4 number in any of the forms browsers accept ("127.1",
// "0x7f.0.0.1", "2130706433", "0177.0.0.1"), as dotted decimal; none when the host is a name
// or not a valid number.
std::optional<std::string> canonicalIpv4(std::string_view host);

// The text between the brackets of an IPv6 host: an IPv4-mapped address
// ("::ffff:127.0.0.2", "::ffff:7f00:2") as dotted IPv4 without brackets, any other address in
// its shortest form in brackets ("[::1]"); none when the text is not an IPv6 address.
std::optional<std::string> canonicalIpv6(std::string_view inner);

}  // namespace plintor
