#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The address with its host written one way only, so that one host gets one decision however
// it is spelled: no user information, the host in lower case without trailing dots and
// percent-escapes, IPv4 numbers in dotted decimal, IPv4-mapped IPv6 as IPv4, other IPv6 in
// its shortest form, no default port. The browser engine writes most of this already; the
// operator's checks and addresses sent from outside get the same treatment here. Text without
// "://" comes back trimmed and otherwise unchanged.
std::string canonicalAddress(std::string_view url);

}  // namespace plintor
