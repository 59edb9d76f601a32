#pragma once

#include <sys/types.h>

#include <optional>
#include <string_view>

namespace plintor {

// The user who made the socket bound to the abstract name `name` (given without its leading
// NUL), as the kernel's socket diagnostics tell; none when no socket holds the name or the
// kernel does not tell.
std::optional<uid_t> abstractSocketOwner(std::string_view name);

}  // namespace plintor
