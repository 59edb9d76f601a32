#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/browser/UrlLists.h"
#include "core/config/ConfigFiles.h"
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
KioskConfiguration loadKioskConfiguration(const ConfigNames& names, const TempFiles& tempFiles,
                                          int pixelsPerInch, ConfigReport& report);

// The allow and deny list files alone (each its working file or else its default copy), as
// loadKioskConfiguration reads them; completeKioskLists adds the rest.
UrlLists readKioskListFiles(const ConfigNames& names, ConfigReport& report);
// The fixed entries of the kiosk's lists: every button's address and the kiosk's own
// documents (`tempFiles`).
void completeKioskLists(UrlLists& lists, const std::vector<NavButton>& buttons,
                        const TempFiles& tempFiles);

// The lists alone, read again for a running kiosk exactly as loadKioskConfiguration reads them
// (the buttons are those in force). None when a list file could not be read, the allow file
// missing included: a running kiosk keeps the lists it has rather than half of the new ones.
std::optional<UrlLists> reloadKioskLists(const ConfigNames& names,
                                         const std::vector<NavButton>& buttons,
                                         const TempFiles& tempFiles, ConfigReport& report);

// Whether taking `next` would drop the deny list in force: its file gone or emptied, for good
// or only for the moment an editor rewrites it. A reload that would is refused; the operator
// who means it restarts the kiosk.
bool dropsDenyList(const UrlLists& inForce, const UrlLists& next);

}  // namespace plintor
