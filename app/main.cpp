#include <unistd.h>

#include <clocale>
#include <iostream>

#include "SystemInfo.h"
#include "app/ProgramOptions.h"
#include "diagnostics/Diagnostics.h"
#include "support/FileHelpers.h"

using namespace plintor;

namespace {

std::string ProgramFolder(const std::string& programPath) {
    const std::size_t slash = programPath.rfind('/');
    return slash == std::string::npos ? "." : programPath.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char* argv[]) {
    std::setlocale(LC_TIME, "");  // log stamps follow the user's regional settings
    const TProgramOptions options = ParseProgramOptions({argv + 1, argv + argc});
    const std::string programPath = SystemInfo().ProgramPath();
    const std::string baseName = ProgramBaseName(programPath);
    const std::string home = options.Home.value_or(ProgramFolder(programPath));
    if (::chdir(home.c_str()) != 0 && options.Mode != TProgramMode::Kiosk) {
        std::cerr << "plintor: cannot use the home folder \"" << home << "\"\n";
        return 2;
    }
    switch (options.Mode) {
        case TProgramMode::CheckConfig:
            return RunCheckConfig(baseName, std::cout, std::cerr);
        case TProgramMode::CheckUrl:
            return RunCheckUrl(baseName, options.Addresses, std::cout, std::cerr);
        case TProgramMode::Kiosk:
            break;
    }
    std::cerr << "plintor: this build has no kiosk window yet; use --check-config or --check-url\n";
    return 2;
}
