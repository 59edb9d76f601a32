#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// The candidate key as a lenient server reads its path: percent-escapes of unreserved
// characters and of "/" decoded, runs of "/" merged, "." and ".." segments resolved, one
// trailing "/" dropped. None when that is the key itself. A deny mask written for
// "/private/*" must also stop "/public//private/x" and "/public%2F..%2Fprivate/x".
std::optional<std::string> serverSideForm(std::string_view key);

}  // namespace plintor
