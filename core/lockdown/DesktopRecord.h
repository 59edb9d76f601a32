#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// How a running program was started, so that it can be started again the same way after it
// was ended.
struct ShellCommand {
    std::vector<std::string> arguments;
    std::string workingFolder;
    std::vector<std::string> environment;  // "NAME=value" entries
    std::string executable;                // the program file the process ran, when known

    bool operator==(const ShellCommand&) const = default;
};

// What the kiosk has changed on the desktop and must put back at its end: the shell programs it
// stopped, and display power saving it switched off. Kept in a file while anything is changed,
// so that the next start can put back what a killed run could not.
struct DesktopRecord {
    std::vector<ShellCommand> stoppedShell;
    bool powerSavingWasOn = false;  // display power saving was on before the kiosk switched it off

    bool empty() const { return stoppedShell.empty() && !powerSavingWasOn; }
    bool operator==(const DesktopRecord&) const = default;
};

// A record names a few programs; a file larger than this is damaged, and is never read whole.
constexpr std::size_t MaxDesktopRecordSize = 64 * 1024;

// One item per line, each text with "%", line ends and other control characters escaped.
std::string formatDesktopRecord(const DesktopRecord& record);
// None when the text is not such a record (a damaged file), or is longer than a record can be.
std::optional<DesktopRecord> parseDesktopRecord(std::string_view text);
// The record in the file; none when it is missing, cannot be read, or is damaged.
std::optional<DesktopRecord> readDesktopRecord(const std::string& fileName);

}  // namespace plintor
