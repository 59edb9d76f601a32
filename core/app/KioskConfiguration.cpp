#include "core/app/KioskConfiguration.h"

#include "core/config/ConfigFiles.h"
#include "core/config/SettingsLoader.h"
#include "core/config/UrlListFiles.h"

namespace plintor {

KioskConfiguration loadKioskConfiguration(const std::string& programBaseName,
                                          const TempFiles& tempFiles, int pixelsPerInch,
                                          ConfigReport& report) {
    const EffectiveFiles files = effectiveFiles(programBaseName);
    LoadedSettings loaded = loadSettings(files.config, pixelsPerInch, report);
    KioskConfiguration configuration{std::move(loaded.settings), std::move(loaded.buttons), {}};
    loadUrlLists(configuration.lists, files.whitelist, files.blacklist, report);
    allowNavButtonAddresses(configuration.lists, configuration.buttons);
    configuration.lists.setOwnDocuments(shownDocuments(tempFiles));
    return configuration;
}

}  // namespace plintor
