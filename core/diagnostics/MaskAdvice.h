#pragma once

#include <string>
#include <vector>

#include "core/browser/UrlLists.h"

namespace plintor {

// Warnings about masks that do not do what their writer most likely meant: a deny mask
// "…/folder/*" that leaves the bare folder address open (the address's trailing "/" is
// dropped before matching), and an allow mask "http://library.example*" that also lets in
// every host whose name begins the same way.
std::vector<std::string> maskAdvice(const UrlLists& lists);

}  // namespace plintor
