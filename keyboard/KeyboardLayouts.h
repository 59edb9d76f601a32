#pragma once

#include <vector>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

// The program's layout descriptions (every resource under /plintor/keyboards/ whose name
// contains "KEYBOARD"), in name order.
std::vector<VirtualKeyLayout> loadKeyboardLayouts();

}  // namespace plintor
