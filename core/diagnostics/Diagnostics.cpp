#include "core/diagnostics/Diagnostics.h"

#include <filesystem>

#include "core/app/KioskConfiguration.h"
#include "core/browser/UrlLists.h"
#include "core/browser/UrlMask.h"
#include "core/config/ConfigFiles.h"
#include "core/config/Settings.h"
#include "core/config/SettingsLoader.h"
#include "core/config/TIni.h"
#include "core/config/UrlListFiles.h"
#include "core/diagnostics/MaskAdvice.h"
#include "core/diagnostics/SettingsReport.h"
#include "core/documents/DownloadRules.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/FileIO.h"
#include "core/support/ScreenScale.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

class TStreamConfigReport final : public IConfigReport {
public:
    explicit TStreamConfigReport(std::ostream& err) : FErr(err) {}

    void LoadFailed(const std::exception& error) override {
        Warn(ExceptionClassName(error) + ": " + error.what());
    }
    void ButtonDropped(int number, const std::string& reason) override {
        Warn("URL button " + std::to_string(number) + " is left out: " + reason);
    }
    void Warn(const std::string& text) override {
        FErr << "warning: " << text << '\n';
        ++FWarnings;
    }
    int Warnings() const { return FWarnings; }

private:
    std::ostream& FErr;
    int FWarnings = 0;
};

void CheckConfigFile(const std::string& fileName, TStreamConfigReport& report) {
    try {
        CheckSettingsFile(TIni(fileName, false), fileName,
                          [&](const std::string& text) { report.Warn(text); });
    } catch (const std::exception&) {
        // LoadSettings reports the same failure.
    }
}

void CheckMasks(const std::vector<std::string>& masks, const char* listName,
                TStreamConfigReport& report) {
    for (const std::string& mask : masks) {
        if (!IsValidMask(mask)) {
            report.Warn(std::string(listName) + " mask \"" + mask +
                        "\" is not a valid mask and never matches");
        }
    }
}

TKioskConfiguration LoadAsKiosk(const std::string& programBaseName, const std::string& tempFolder,
                                TStreamConfigReport& report) {
    return LoadKioskConfiguration(programBaseName, TempFilesIn(tempFolder), DesignPixelsPerInch,
                                  report);
}

void CheckDocumentSettings(const TSettings& settings, TStreamConfigReport& report) {
    if (settings.DownloadWord && !settings.ConvertWordToPDF) {
        report.Warn(
            "DownloadWord without ConvertWordToPDF cannot show Word documents here; every one is "
            "answered as a blocked download");
    }
}

}  // namespace

int RunCheckConfig(const std::string& programBaseName, const std::string& tempFolder,
                   std::ostream& out, std::ostream& err) {
    TStreamConfigReport report(err);
    const TEffectiveFiles files = EffectiveFiles(programBaseName);
    CheckConfigFile(files.Config, report);
    const TKioskConfiguration kiosk = LoadAsKiosk(programBaseName, tempFolder, report);
    CheckMasks(kiosk.Lists.Whitelist(), "allow", report);
    CheckMasks(kiosk.Lists.Blacklist(), "deny", report);
    for (const std::string& advice : MaskAdvice(kiosk.Lists)) {
        report.Warn(advice);
    }
    CheckDocumentSettings(kiosk.Settings, report);
    if (kiosk.Settings.Password == TSettings{}.Password) {
        report.Warn("the shutdown password is the default one; set Password to your own");
    }
    for (const std::string& line : FormatSettingsLines(kiosk.Settings, kiosk.Buttons)) {
        out << line << '\n';
    }
    return report.Warnings() > 0 ? 1 : 0;
}

int RunCheckUrl(const std::string& programBaseName, const std::string& tempFolder,
                const std::vector<std::string>& addresses, std::ostream& out, std::ostream& err) {
    TStreamConfigReport report(err);
    const TKioskConfiguration kiosk = LoadAsKiosk(programBaseName, tempFolder, report);
    for (const std::string& address : addresses) {
        out << (kiosk.Lists.IsURLAllowed(address) ? "allowed " : "blocked ") << address << '\n';
    }
    return 0;
}

int RunOperatorCheck(const TProgramOptions& options, const std::string& programPath,
                     const std::string& tempFolder, std::ostream& out, std::ostream& err) {
    const std::string home =
        options.Home.value_or(std::filesystem::path(programPath).parent_path().string());
    std::error_code error;
    std::filesystem::current_path(home, error);
    if (error) {
        err << "plintor: cannot use the home folder \"" << home << "\"\n";
        return ExitUsage;
    }
    const std::string baseName = ProgramBaseName(programPath);
    return options.Mode == TProgramMode::CheckConfig
               ? RunCheckConfig(baseName, tempFolder, out, err)
               : RunCheckUrl(baseName, tempFolder, options.Addresses, out, err);
}

}  // namespace plintor
