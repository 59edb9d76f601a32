#pragma once

namespace plintor {

// Fills KeyboardLayouts from the program's layout descriptions (every resource whose name
// contains "KEYBOARD"), in name order.
void LoadKeyboardLayouts();

}  // namespace plintor
