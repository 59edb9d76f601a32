#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The address with its host written one way only, so that one host gets one decision however
// it is spelled, and the way the browser engine (WHATWG URL parsing) reads it: no user
// information, the host in lower case without trailing dots and percent-escapes, a name with
// other than ASCII letters in its ASCII (punycode) form after the UTS 46 mapping (full-width
// forms, ideographic full stops), IPv4 numbers in dotted decimal, IPv4-mapped IPv6 as IPv4,
// other IPv6 in its shortest form, no default port. The web's own schemes take "\" for "/"
// and need no "//" before the host ("http:host/"). The engine writes most of this already; the
// operator's checks and addresses sent from outside get the same treatment here. Text without
// a host ("about:blank", "javascript:...") comes back trimmed and otherwise unchanged.
std::string canonicalAddress(std::string_view url);

}  // namespace plintor
