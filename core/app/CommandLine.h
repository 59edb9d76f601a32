#pragma once

#include <string>
#include <vector>

namespace plintor {

// The process's arguments split the usual way; element 0 is the program path. A parameter
// that starts with "-" or "/" is a switch, any other (the empty one included) a plain one.
using Arguments = std::vector<std::string>;

int countPlainParams(const Arguments& arguments);

// N = 0: the program path; N >= 1: the N-th plain parameter or empty; N < 0: empty.
std::string plainParam(const Arguments& arguments, int n);

// True when a switch reads "SAFEWEBBROWSER" in any letter case after its "-" or "/".
bool hasSafeWebBrowserSwitch(const Arguments& arguments);

// The safe-web-browser mode needs the switch and an address to show.
bool isSafeWebBrowserMode(const Arguments& arguments);

}  // namespace plintor
