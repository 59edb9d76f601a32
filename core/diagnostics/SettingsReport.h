#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/config/Settings.h"
#include "core/config/TIni.h"

namespace plintor {

// The effective settings as "Key=Value" lines, in the order of the configuration keys, then
// one "Button=<Width>|<Caption>|<URL>" line per URL button.
std::vector<std::string> FormatSettingsLines(const TSettings& settings,
                                             const std::vector<TNavButton>& buttons);

// Points out unknown keys, keys set more than once and values the program cannot use.
// `fileLabel` names the file in each warning.
void CheckSettingsFile(const TIni& ini, const std::string& fileLabel,
                       const std::function<void(const std::string&)>& warn);

}  // namespace plintor
