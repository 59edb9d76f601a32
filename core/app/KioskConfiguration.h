#pragma once

#include <string>
#include <vector>

#include "core/browser/UrlLists.h"
#include "core/config/IConfigReport.h"
#include "core/config/Settings.h"
#include "core/documents/DownloadRules.h"

namespace plintor {

// Everything the kiosk reads at start in its normal mode.
struct TKioskConfiguration {
    TSettings Settings;
    std::vector<TNavButton> Buttons;
    TUrlLists Lists;
};

// Reads the configuration and the list files of the home folder (the current folder), each its
// working file or else its default copy, exactly as the kiosk does at start: the lists get the
// fixed entries, every button's address and the kiosk's own documents (`tempFiles`).
TKioskConfiguration LoadKioskConfiguration(const std::string& programBaseName,
                                           const TTempFiles& tempFiles, int pixelsPerInch,
                                           IConfigReport& report);

}  // namespace plintor
