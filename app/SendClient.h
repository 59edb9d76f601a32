#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace plintor {

class Platform;

// `plintor --send navigate ADDRESS` and `plintor --send quit`: builds the message the running
// kiosk of this user accepts and delivers it. 0 when delivered, 1 when no kiosk took it,
// 2 for a command it does not know.
int runSendClient(const std::vector<std::string>& words, Platform& platform, std::ostream& err);

}  // namespace plintor
