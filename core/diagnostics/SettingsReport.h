#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/IniReader.h"
#include "core/config/KioskSettings.h"

namespace plintor {

// The effective settings as "Key=Value" lines, in the order of the configuration keys, then
// one "Button=<Width>|<Caption>|<URL>" line per URL button.
std::vector<std::string> formatSettingsLines(const KioskSettings& settings,
                                             const std::vector<NavButton>& buttons);

// Points out unknown keys, keys set more than once and values the program cannot use.
// `fileLabel` names the file in each warning.
void checkSettingsFile(const IniReader& ini, const std::string& fileLabel,
                       const std::function<void(const std::string&)>& warn);

}  // namespace plintor
