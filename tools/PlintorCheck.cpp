// The operator's checks on Windows: --check-config and --check-url read the files of the kiosk
// program in the same folder (plintor.exe: plintor.ini, the lists) exactly as the kiosk does,
// and print what the program prints on Linux for the same files.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "core/app/ProgramOptions.h"
#include "core/diagnostics/Diagnostics.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/WideText.h"

using namespace plintor;

namespace {

// Where the kiosk program sits: its base name names the configuration file.
std::string kioskProgramPath() {
    const std::string own = runningProgramPath();
    return own.substr(0, own.find_last_of("\\/") + 1) + "plintor.exe";
}

// Bytes out as they are: line ends stay LF, as the Linux program writes them.
void useBinaryOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

int refuse(const std::string& problem) {
    std::cerr << "plintor-check: " << problem << "; try --help\n";
    return ExitUsage;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    useBinaryOutput();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(toUtf8(argv[i]));
    }
    const ProgramOptions options = parseProgramOptions(arguments);
    switch (options.mode) {
        case ProgramMode::CheckConfig:
        case ProgramMode::CheckUrl:
            return runOperatorCheck(options, kioskProgramPath(), systemTempFolder(), std::cout,
                                    std::cerr);
        case ProgramMode::Help:
            std::cout << usageText();
            return ExitOk;
        case ProgramMode::Version:
            std::cout << "Plintor " << fileVersionOf(runningProgramPath()) << "\n";
            return ExitOk;
        case ProgramMode::Invalid:
            return refuse(options.problem);
        case ProgramMode::Send:
            return refuse("--send is the kiosk program's own option");
        case ProgramMode::RestoreDesktop:
            return refuse("--restore-desktop is the kiosk program's own option");
        case ProgramMode::Kiosk:
            break;
    }
    return refuse("give --check-config or --check-url; the kiosk itself is plintor.exe");
}
