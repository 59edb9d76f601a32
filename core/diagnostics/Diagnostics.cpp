#include "core/diagnostics/Diagnostics.h"

#include "core/browser/UrlLists.h"
#include "core/browser/UrlMask.h"
#include "core/config/ConfigFiles.h"
#include "core/config/Settings.h"
#include "core/config/SettingsLoader.h"
#include "core/config/TIni.h"
#include "core/config/UrlListFiles.h"
#include "core/diagnostics/HeadlessSettingsTarget.h"
#include "core/diagnostics/MaskAdvice.h"
#include "core/diagnostics/SettingsReport.h"
#include "core/documents/DownloadRules.h"
#include "core/support/Exceptions.h"
#include "core/support/FileHelpers.h"
#include "core/support/FileIO.h"
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

// Settings and lists exactly as the kiosk builds them at start in its normal mode.
TUrlLists LoadAsKiosk(const std::string& programBaseName, const std::string& tempFolder,
                      TStreamConfigReport& report) {
    const TEffectiveFiles files = EffectiveFiles(programBaseName);
    THeadlessSettingsTarget window;
    ResetSettings(window.PixelsPerInch());
    LoadSettings(files.Config, window, report);
    TUrlLists lists;
    LoadURLLists(lists, files.Whitelist, files.Blacklist, report);
    AllowNavButtonAddresses(lists, NavButtons);
    lists.SetOwnDocuments(ShownDocuments(TempFilesIn(tempFolder)));
    return lists;
}

void CheckDocumentSettings(TStreamConfigReport& report) {
    if (Settings.DownloadWord && !Settings.ConvertWordToPDF) {
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
    const TUrlLists lists = LoadAsKiosk(programBaseName, tempFolder, report);
    CheckMasks(lists.Whitelist(), "allow", report);
    CheckMasks(lists.Blacklist(), "deny", report);
    for (const std::string& advice : MaskAdvice(lists)) {
        report.Warn(advice);
    }
    CheckDocumentSettings(report);
    if (Settings.Password == TSettings{}.Password) {
        report.Warn("the shutdown password is the default one; set Password to your own");
    }
    for (const std::string& line : FormatSettingsLines(Settings, NavButtons)) {
        out << line << '\n';
    }
    return report.Warnings() > 0 ? 1 : 0;
}

int RunCheckUrl(const std::string& programBaseName, const std::string& tempFolder,
                const std::vector<std::string>& addresses, std::ostream& out, std::ostream& err) {
    TStreamConfigReport report(err);
    const TUrlLists lists = LoadAsKiosk(programBaseName, tempFolder, report);
    for (const std::string& address : addresses) {
        out << (lists.IsURLAllowed(address) ? "allowed " : "blocked ") << address << '\n';
    }
    return 0;
}

}  // namespace plintor
