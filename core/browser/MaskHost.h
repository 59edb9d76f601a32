#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// The mask with its host written as match keys write theirs (see canonicalAddress), so that a
// mask names one host in either alphabet: each label of literal characters beyond ASCII in its
// ASCII (punycode) form ("*://bücher.de/*" is "*://xn--bcher-kva.de/*"), an IPv6 address
// right after "://" in its shortest form. Labels with wildcards stay as written. None when the
// mask is written so already, as every ASCII mask without such an address is.
std::optional<std::string> maskWithKeyHost(std::string_view mask);

// The labels of the mask's host that hold characters beyond ASCII next to a wildcard: no
// address in the engine's form can match them.
std::vector<std::string> unconvertibleHostLabels(std::string_view mask);

}  // namespace plintor
