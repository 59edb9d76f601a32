#pragma once

#include <string>
#include <vector>

#include "core/browser/UrlLists.h"

namespace plintor {

// Warnings about masks that do not do what their writer most likely meant: a deny mask
// "…/folder/*" that leaves the bare folder address open (the address's trailing "/" is
// dropped before matching), and an allow mask "http://library.example*" that also lets in
// every host whose name begins the same way; a host label beyond ASCII next to a wildcard,
// which no address matches, since addresses carry such hosts in their ASCII (punycode) form.
std::vector<std::string> maskAdvice(const UrlLists& lists);

// How masks that could be read two ways were read: "*://[::1]*" names the IPv6 address ::1,
// not a set of characters.
std::vector<std::string> maskReadings(const UrlLists& lists);

}  // namespace plintor
