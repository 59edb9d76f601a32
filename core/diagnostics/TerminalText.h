#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The text as it may go to the operator's terminal: control characters (C0, DEL, C1), the
// bidirectional controls and line separators written as "\xNN" or "\uNNNN", bytes that are
// not UTF-8 as "\xNN". An address given to a check must not move the cursor, change the
// colours or turn the line around.
std::string terminalText(std::string_view text);

}  // namespace plintor
