#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plintor {

enum class ProgramMode {
    Kiosk,
    CheckConfig,
    CheckUrl,
    Send,
    RestoreDesktop,
    Help,
    Version,
    Invalid
};

// Exit codes of the operator's modes.
constexpr int ExitOk = 0;
constexpr int ExitWarnings = 1;  // --check-config warned; --send found no kiosk or no answer;
                                 // --restore-desktop could not put everything back
constexpr int ExitUsage = 2;     // the command line cannot be what was meant

// The command line as the program reads it. Only the kiosk's own switch ("-SafeWebBrowser"
// or "/SafeWebBrowser" in any letter case, with its address) and the options below are
// accepted, so that a mistyped option never starts a locked kiosk.
struct ProgramOptions {
    ProgramMode mode = ProgramMode::Kiosk;
    std::optional<std::string> home;     // --home=DIR, then the folder chosen (settleHomeFolder)
    std::string systemDefaults;          // chosen with the home folder: the package's defaults
    std::vector<std::string> addresses;  // after --check-url
    std::vector<std::string> sendWords;  // after --send: "navigate ADDRESS", "quit", "status"...
    std::string problem;                 // Invalid: what is wrong, naming the argument
};

// The modes that read or write the home folder's files.
bool needsHomeFolder(ProgramMode mode);

// `arguments` without the program path.
ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments);

// The kiosk's home folder: the one settled (settleHomeFolder), --home=DIR, else the folder of
// the program file.
std::string homeFolder(const ProgramOptions& options, const std::string& programPath);

// What --help prints: every option and the exit codes.
std::string usageText();

}  // namespace plintor
