#include "core/app/KioskConfiguration.h"

#include "core/config/ConfigFiles.h"
#include "core/config/SettingsLoader.h"
#include "core/config/UrlListFiles.h"

namespace plintor {
namespace {

// Passes everything on and notes whether a file could not be read.
class FailureWatch final : public ConfigReport {
public:
    explicit FailureWatch(ConfigReport& report) : m_report(report) {}

    void loadFailed(const std::exception& error) override {
        m_failed = true;
        m_report.loadFailed(error);
    }
    void buttonDropped(int number, const std::string& reason) override {
        m_report.buttonDropped(number, reason);
    }
    void warn(const std::string& text) override { m_report.warn(text); }
    void error(const std::string& text) override { m_report.error(text); }

    bool failed() const { return m_failed; }

private:
    ConfigReport& m_report;
    bool m_failed = false;
};

UrlLists loadKioskLists(const ConfigNames& names, const std::vector<NavButton>& buttons,
                        const TempFiles& tempFiles, ConfigReport& report) {
    UrlLists lists = readKioskListFiles(names, report);
    completeKioskLists(lists, buttons, tempFiles);
    return lists;
}

}  // namespace

UrlLists readKioskListFiles(const ConfigNames& names, ConfigReport& report) {
    const EffectiveFiles files = effectiveFiles(names);
    UrlLists lists;
    loadUrlLists(lists, files.whitelist, files.blacklist, report,
                 defaultCopyOf(std::string(BlacklistFileName), names.systemDefaults));
    return lists;
}

void completeKioskLists(UrlLists& lists, const std::vector<NavButton>& buttons,
                        const TempFiles& tempFiles) {
    allowNavButtonAddresses(lists, buttons);
    lists.setOwnDocuments(shownDocuments(tempFiles));
}

KioskConfiguration loadKioskConfiguration(const ConfigNames& names, const TempFiles& tempFiles,
                                          int pixelsPerInch, ConfigReport& report) {
    LoadedSettings loaded = loadSettings(effectiveFiles(names).config, pixelsPerInch, report);
    UrlLists lists = loadKioskLists(names, loaded.buttons, tempFiles, report);
    return {std::move(loaded.settings), std::move(loaded.buttons), std::move(lists)};
}

std::optional<UrlLists> reloadKioskLists(const ConfigNames& names,
                                         const std::vector<NavButton>& buttons,
                                         const TempFiles& tempFiles, ConfigReport& report) {
    FailureWatch watch(report);
    UrlLists lists = loadKioskLists(names, buttons, tempFiles, watch);
    if (watch.failed()) {
        return std::nullopt;
    }
    return lists;
}

bool dropsDenyList(const UrlLists& inForce, const UrlLists& next) {
    return inForce.blacklistSize() > 0 && next.blacklistSize() == 0;
}

}  // namespace plintor
