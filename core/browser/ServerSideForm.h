#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// The candidate key as a lenient server reads its path: percent-escapes of unreserved
// characters and of "/" decoded, path parameters (";" to the end of a segment) dropped, runs
// of "/" merged, "." and ".." segments resolved, one trailing "/" dropped. None when that is
// the key itself. A deny mask written for "/private/*" must also stop "/public//private/x",
// "/public%2F..%2Fprivate/x" and "/private;jsessionid=1/x".
std::optional<std::string> serverSideForm(std::string_view key);

}  // namespace plintor
