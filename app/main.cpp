#include <clocale>
#include <iostream>

#include "app/DesktopRestore.h"
#include "app/KioskProgram.h"
#include "app/SendClient.h"
#include "core/app/HomeFolder.h"
#include "core/app/ProgramOptions.h"
#include "core/diagnostics/Diagnostics.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

using namespace plintor;

int main(int argc, char* argv[]) {
    std::setlocale(LC_TIME, "");  // log stamps follow the user's regional settings
    ProgramOptions options = parseProgramOptions({argv + 1, argv + argc});
    const std::unique_ptr<Platform> platform = createPlatform();
    SystemInfo& system = platform->systemInfo();
    if (needsHomeFolder(options.mode) &&
        !settleHomeFolder(options, system.programPath(), std::cerr)) {
        return ExitUsage;
    }
    switch (options.mode) {
        case ProgramMode::CheckConfig:
        case ProgramMode::CheckUrl:
            return runOperatorCheck(options, system.programPath(), system.tempFolder(), std::cout,
                                    std::cerr);
        case ProgramMode::Send:
            return runSendClient(options.sendWords, *platform, std::cout, std::cerr);
        case ProgramMode::RestoreDesktop:
            return runDesktopRestore(options, *platform, std::cout, std::cerr);
        case ProgramMode::Help:
            std::cout << usageText();
            return ExitOk;
        case ProgramMode::Version:
            std::cout << "Plintor " << system.fileVersion(system.programPath()) << '\n'
                      << engineVersionText() << '\n';
            return ExitOk;
        case ProgramMode::Invalid:
            std::cerr << "plintor: " << options.problem << "; try --help\n";
            return ExitUsage;
        case ProgramMode::Kiosk:
            break;
    }
    return runKiosk(argc, argv, options, *platform);
}
