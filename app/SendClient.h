#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace plintor {

class Platform;

// `plintor --send navigate ADDRESS`, `quit`, `status` and `reload-lists`: builds the message the
// running kiosk of this user accepts and delivers it; `status` prints the kiosk's answer (one
// line of JSON) on `out`. 0 when delivered (and answered), 1 when no kiosk took it or no answer
// came in time, 2 for a command it does not know.
int runSendClient(const std::vector<std::string>& words, Platform& platform, std::ostream& out,
                  std::ostream& err);

}  // namespace plintor
