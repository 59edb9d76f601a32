#include "app/DesktopRestore.h"

#include "core/config/ConfigFiles.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "platform/Desktop.h"
#include "platform/InstanceChannel.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"

namespace plintor {

int runDesktopRestore(const ProgramOptions& options, Platform& platform, std::ostream& out,
                      std::ostream& err) {
    const std::string programPath = platform.systemInfo().programPath();
    const std::string record = withTrailingDelimiter(homeFolder(options, programPath)) +
                               desktopStateFileName(programBaseName(programPath));
    // Held until the end, so that no kiosk starts and changes the desktop in the meantime.
    std::string refusal;
    const std::unique_ptr<InstanceChannel> claim = platform.claimInstanceChannel(refusal);
    if (claim == nullptr && !refusal.empty()) {
        err << "plintor: " << refusal << '\n';
        return ExitWarnings;
    }
    if (claim == nullptr) {
        err << "plintor: a kiosk is running for this user; it puts the desktop back at its end\n";
        return ExitWarnings;
    }
    if (!fileExists(record)) {
        out << "Nothing to put back\n";
        return ExitOk;
    }
    const std::unique_ptr<Desktop> desktop = platform.connectDesktop();
    if (desktop == nullptr) {
        err << "plintor: the display cannot be reached (is DISPLAY set?); " << record
            << " stays for the next start\n";
        return ExitWarnings;
    }
    startProgramLog(logFileNameFor(programPath, options.home.value_or("")), systemClock());
    mirrorProgramLog(platform.connectJournal());
    const std::string repaired = desktop->keepChangesRecord(record);
    if (!repaired.empty()) {
        logEntry("Unclean end of the last run repaired: " + repaired);
        out << "Put back: " << repaired << '\n';
    }
    if (fileExists(record)) {
        err << "plintor: not everything could be put back; " << record
            << " keeps the rest for the next start\n";
        return ExitWarnings;
    }
    return ExitOk;
}

}  // namespace plintor
