#pragma once

#include <string>
#include <vector>

#include "core/config/ConfigReport.h"
#include "core/config/KioskSettings.h"

namespace plintor {

// What loading the configuration gives.
struct LoadedSettings {
    KioskSettings settings;
    std::vector<NavButton> buttons;  // never empty: the first is the home button
};

// Reads the configuration file: every key of settingKeys() and the URL buttons. A file that
// cannot be read, a dropped button and a file that cannot be what its writer meant are told to
// `report`; what cannot be read keeps its default. `pixelsPerInch` scales the default home
// button's width.
LoadedSettings loadSettings(const std::string& iniFileName, int pixelsPerInch,
                            ConfigReport& report);

}  // namespace plintor
