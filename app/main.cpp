#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <clocale>
#include <iostream>

#include "app/KioskProgram.h"
#include "app/SendClient.h"
#include "core/app/ProgramOptions.h"
#include "core/diagnostics/Diagnostics.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

using namespace plintor;

int main(int argc, char* argv[]) {
    std::setlocale(LC_TIME, "");  // log stamps follow the user's regional settings
    const TProgramOptions options = ParseProgramOptions({argv + 1, argv + argc});
    const std::unique_ptr<IPlatform> platform = CreatePlatform();
    ISystemInfo& system = platform->SystemInfo();
    switch (options.Mode) {
        case TProgramMode::CheckConfig:
        case TProgramMode::CheckUrl:
            return RunOperatorCheck(options, system.ProgramPath(), system.TempFolder(), std::cout,
                                    std::cerr);
        case TProgramMode::Send:
            return RunSendClient(options.SendWords, *platform, std::cerr);
        case TProgramMode::Help:
            std::cout << UsageText();
            return ExitOk;
        case TProgramMode::Version:
            std::cout << "Plintor " << system.FileVersion(system.ProgramPath()) << "\nQt WebEngine "
                      << qWebEngineVersion() << " (Chromium " << qWebEngineChromiumVersion()
                      << ")\n";
            return ExitOk;
        case TProgramMode::Invalid:
            std::cerr << "plintor: " << options.Problem << "; try --help\n";
            return ExitUsage;
        case TProgramMode::Kiosk:
            break;
    }
    return RunKiosk(argc, argv, options, *platform);
}
