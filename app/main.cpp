#include <unistd.h>

#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <clocale>
#include <iostream>

#include "app/KioskProgram.h"
#include "app/SendClient.h"
#include "core/app/ProgramOptions.h"
#include "core/diagnostics/Diagnostics.h"
#include "core/support/FileHelpers.h"
#include "platform/SystemInfo.h"

using namespace plintor;

namespace {

// The operator's checks run in the kiosk's home folder, like the kiosk itself.
int RunDiagnostics(const TProgramOptions& options) {
    const std::string programPath = SystemInfo().ProgramPath();
    const std::string home =
        options.Home.value_or(programPath.substr(0, programPath.rfind('/') + 1));
    if (::chdir(home.c_str()) != 0) {
        std::cerr << "plintor: cannot use the home folder \"" << home << "\"\n";
        return ExitUsage;
    }
    const std::string baseName = ProgramBaseName(programPath);
    const std::string tempFolder = SystemInfo().TempFolder();
    return options.Mode == TProgramMode::CheckConfig
               ? RunCheckConfig(baseName, tempFolder, std::cout, std::cerr)
               : RunCheckUrl(baseName, tempFolder, options.Addresses, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_TIME, "");  // log stamps follow the user's regional settings
    const TProgramOptions options = ParseProgramOptions({argv + 1, argv + argc});
    switch (options.Mode) {
        case TProgramMode::CheckConfig:
        case TProgramMode::CheckUrl:
            return RunDiagnostics(options);
        case TProgramMode::Send:
            return RunSendClient(options.SendWords, std::cerr);
        case TProgramMode::Help:
            std::cout << UsageText();
            return ExitOk;
        case TProgramMode::Version:
            std::cout << "Plintor " << SystemInfo().FileVersion(SystemInfo().ProgramPath())
                      << "\nQt WebEngine " << qWebEngineVersion() << " (Chromium "
                      << qWebEngineChromiumVersion() << ")\n";
            return ExitOk;
        case TProgramMode::Invalid:
            std::cerr << "plintor: " << options.Problem << "; try --help\n";
            return ExitUsage;
        case TProgramMode::Kiosk:
            break;
    }
    return RunKiosk(argc, argv, options);
}
