#pragma once

#include <string>

#include "core/config/IConfigReport.h"
#include "core/config/ISettingsTarget.h"

namespace plintor {

// Reads the configuration file into Settings and NavButtons, applies the visual settings to
// the window as it goes, then sets NextRestartTime and RequestedExecutionState. A file that
// cannot be read leaves the keys not yet read at their defaults; the rest still applies.
void LoadSettings(const std::string& iniFileName, ISettingsTarget& window, IConfigReport& report);

std::string ButtonKey(int number, const char* part);  // "Button<n><part>"

}  // namespace plintor
