#pragma once

#include <string>
#include <vector>

#include "core/config/IConfigReport.h"
#include "core/config/Settings.h"

namespace plintor {

// What loading the configuration gives.
struct TLoadedSettings {
    TSettings Settings;
    std::vector<TNavButton> Buttons;  // never empty: the first is the home button
};

// Reads the configuration file: every key of SettingKeys() and the URL buttons. A file that
// cannot be read, a dropped button and a file that cannot be what its writer meant are told to
// `report`; what cannot be read keeps its default. `pixelsPerInch` scales the default home
// button's width.
TLoadedSettings LoadSettings(const std::string& iniFileName, int pixelsPerInch,
                             IConfigReport& report);

}  // namespace plintor
