#pragma once

#include <string>
#include <vector>

#include "core/browser/UrlLists.h"
#include "core/config/ConfigReport.h"
#include "core/config/KioskSettings.h"
#include "core/documents/DownloadRules.h"

namespace plintor {

// Everything the kiosk reads at start in its normal mode.
struct KioskConfiguration {
    KioskSettings settings;
    std::vector<NavButton> buttons;
    UrlLists lists;
};

// Reads the configuration and the list files of the home folder (the current folder), each its
// working file or else its default copy, exactly as the kiosk does at start: the lists get the
// fixed entries, every button's address and the kiosk's own documents (`tempFiles`).
KioskConfiguration loadKioskConfiguration(const std::string& programBaseName,
                                          const TempFiles& tempFiles, int pixelsPerInch,
                                          ConfigReport& report);

}  // namespace plintor
