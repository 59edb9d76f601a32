#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// The ASCII form of a host name (UTF-8) as the browser engine writes it before it looks the
// host up: IDNA with the UTS 46 mapping, nontransitional (lower case, full-width forms and
// ideographic full stops mapped, "ß" kept), each label that needs it in its "xn--" form. None
// when the name has no such form. Each system implements it once (platform/posix with libidn2,
// platform/win32 with IdnToAscii).
std::optional<std::string> idnaToAscii(std::string_view host);

}  // namespace plintor
