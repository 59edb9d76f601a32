#pragma once

#include <string>

namespace plintor {

// The version of the WebKitGTK library the program runs on ("2.50.6").
std::string engineVersion();

}  // namespace plintor
