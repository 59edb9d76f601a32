#include "core/app/KioskConfiguration.h"

#include "core/config/ConfigFiles.h"
#include "core/config/SettingsLoader.h"
#include "core/config/UrlListFiles.h"

namespace plintor {

TKioskConfiguration LoadKioskConfiguration(const std::string& programBaseName,
                                           const TTempFiles& tempFiles, int pixelsPerInch,
                                           IConfigReport& report) {
    const TEffectiveFiles files = EffectiveFiles(programBaseName);
    TLoadedSettings loaded = LoadSettings(files.Config, pixelsPerInch, report);
    TKioskConfiguration configuration{std::move(loaded.Settings), std::move(loaded.Buttons), {}};
    LoadURLLists(configuration.Lists, files.Whitelist, files.Blacklist, report);
    AllowNavButtonAddresses(configuration.Lists, configuration.Buttons);
    configuration.Lists.SetOwnDocuments(ShownDocuments(tempFiles));
    return configuration;
}

}  // namespace plintor
