#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace plintor {

class Platform;

// `plintor --send navigate ADDRESS`, `quit`, `status`, `reload-lists` and `screenshot FILE`:
// builds the message the running kiosk of this user accepts and delivers it; `status` prints
// the kiosk's answer (one line of JSON) on `out`, `screenshot` waits until the kiosk wrote the
// file or said why not. 0 when delivered (and answered), 1 when no kiosk took it, no answer
// came in time or the screenshot was not written, 2 for a command it does not know.
int runSendClient(const std::vector<std::string>& words, Platform& platform, std::ostream& out,
                  std::ostream& err);

}  // namespace plintor
