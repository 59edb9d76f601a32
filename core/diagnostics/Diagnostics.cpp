#include "core/diagnostics/Diagnostics.h"

#include <filesystem>

#include "core/app/KioskConfiguration.h"
#include "core/browser/UrlLists.h"
#include "core/browser/UrlMask.h"
#include "core/config/ConfigFiles.h"
#include "core/config/IniReader.h"
#include "core/config/KioskSettings.h"
#include "core/config/SettingsLoader.h"
#include "core/config/UrlListFiles.h"
#include "core/diagnostics/MaskAdvice.h"
#include "core/diagnostics/SettingsReport.h"
#include "core/diagnostics/TerminalText.h"
#include "core/documents/DocumentFolder.h"
#include "core/documents/DownloadRules.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/FileIO.h"
#include "core/support/ScreenScale.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

class StreamConfigReport final : public ConfigReport {
public:
    explicit StreamConfigReport(std::ostream& err) : m_err(err) {}

    void loadFailed(const std::exception& error) override { warn(exceptionText(error)); }
    void buttonDropped(int number, const std::string& reason) override {
        warn("URL button " + std::to_string(number) + " is left out: " + reason);
    }
    void warn(const std::string& text) override {
        m_err << "warning: " << text << '\n';
        ++m_warnings;
    }
    void error(const std::string& text) override {
        m_err << "error: " << text << '\n';
        ++m_warnings;
    }
    int warnings() const { return m_warnings; }

private:
    std::ostream& m_err;
    int m_warnings = 0;
};

void checkConfigFile(const std::string& fileName, StreamConfigReport& report) {
    try {
        checkSettingsFile(IniReader::fromFile(fileName), fileName,
                          [&](const std::string& text) { report.warn(text); });
    } catch (const std::exception&) {
        // loadSettings reports the same failure.
    }
}

void checkMasks(const std::vector<std::string>& masks, const char* listName,
                StreamConfigReport& report) {
    for (const std::string& mask : masks) {
        if (!isValidMask(mask)) {
            report.warn(std::string(listName) + " mask \"" + mask +
                        "\" is not a valid mask and never matches");
        }
    }
}

KioskConfiguration loadAsKiosk(const ConfigNames& names, const std::string& tempFolder,
                               StreamConfigReport& report) {
    return loadKioskConfiguration(names, tempFilesIn(DocumentFolder(tempFolder).path()),
                                  DesignPixelsPerInch, report);
}

void checkDocumentSettings(const KioskSettings& settings, StreamConfigReport& report) {
    if (settings.downloadWord && !settings.convertWordToPdf) {
        report.warn(
            "DownloadWord without ConvertWordToPDF cannot show Word documents here; every one is "
            "answered as a blocked download");
    }
}

}  // namespace

int runCheckConfig(const ConfigNames& names, const std::string& tempFolder, std::ostream& out,
                   std::ostream& err) {
    StreamConfigReport report(err);
    const EffectiveFiles files = effectiveFiles(names);
    checkConfigFile(files.config, report);
    const KioskConfiguration kiosk = loadAsKiosk(names, tempFolder, report);
    checkMasks(kiosk.lists.whitelist(), "allow", report);
    checkMasks(kiosk.lists.blacklist(), "deny", report);
    for (const std::string& advice : maskAdvice(kiosk.lists)) {
        report.warn(advice);
    }
    for (const std::string& reading : maskReadings(kiosk.lists)) {
        err << "note: " << reading << '\n';
    }
    checkDocumentSettings(kiosk.settings, report);
    if (kiosk.settings.password == KioskSettings{}.password) {
        report.warn("the shutdown password is the default one; set Password to your own");
    }
    for (const std::string& line : formatSettingsLines(kiosk.settings, kiosk.buttons)) {
        out << line << '\n';
    }
    return report.warnings() > 0 ? 1 : 0;
}

int runCheckUrl(const ConfigNames& names, const std::string& tempFolder,
                const std::vector<std::string>& addresses, std::ostream& out, std::ostream& err) {
    StreamConfigReport report(err);
    const KioskConfiguration kiosk = loadAsKiosk(names, tempFolder, report);
    for (const std::string& address : addresses) {
        out << (kiosk.lists.isUrlAllowed(address) ? "allowed " : "blocked ")
            << terminalText(address) << '\n';
    }
    return 0;
}

int runOperatorCheck(const ProgramOptions& options, const std::string& programPath,
                     const std::string& tempFolder, std::ostream& out, std::ostream& err) {
    const std::string home = homeFolder(options, programPath);
    std::error_code error;
    std::filesystem::current_path(home, error);
    if (error) {
        err << "plintor: cannot use the home folder \"" << home << "\"\n";
        return ExitUsage;
    }
    const ConfigNames names{programBaseName(programPath), options.systemDefaults};
    return options.mode == ProgramMode::CheckConfig
               ? runCheckConfig(names, tempFolder, out, err)
               : runCheckUrl(names, tempFolder, options.addresses, out, err);
}

}  // namespace plintor
