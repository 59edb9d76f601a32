#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// How a running program was started, so that it can be started again the same way after it
// was ended.
struct TShellCommand {
    std::vector<std::string> Arguments;
    std::string WorkingFolder;
    std::vector<std::string> Environment;  // "NAME=value" entries
    std::string Executable;                // the program file the process ran, when known

    bool operator==(const TShellCommand&) const = default;
};

// What the kiosk has changed on the desktop and must put back at its end: the shell programs it
// stopped, and display power saving it switched off. Kept in a file while anything is changed,
// so that the next start can put back what a killed run could not.
struct TDesktopRecord {
    std::vector<TShellCommand> StoppedShell;
    bool PowerSavingWasOn = false;  // display power saving was on before the kiosk switched it off

    bool Empty() const { return StoppedShell.empty() && !PowerSavingWasOn; }
    bool operator==(const TDesktopRecord&) const = default;
};

// One item per line, each text with "%", line ends and other control characters escaped.
std::string FormatDesktopRecord(const TDesktopRecord& record);
// None when the text is not such a record (a damaged file).
std::optional<TDesktopRecord> ParseDesktopRecord(std::string_view text);

}  // namespace plintor
