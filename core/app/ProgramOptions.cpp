#include "core/app/ProgramOptions.h"

#include <algorithm>

#include "core/app/CommandLine.h"
#include "core/support/FileHelpers.h"

namespace plintor {
namespace {

constexpr std::string_view HomeOption = "--home=";

bool isSwitchText(const std::string& argument) {
    return !argument.empty() && (argument[0] == '-' || argument[0] == '/');
}

ProgramOptions invalid(std::string problem) {
    ProgramOptions options;
    options.mode = ProgramMode::Invalid;
    options.problem = std::move(problem);
    return options;
}

// The options that take the rest of the command line as their words.
bool takesTheRest(const std::string& argument) {
    return argument == "--check-url" || argument == "--send";
}

// The arguments before an option that takes the rest, which must all be known.
std::optional<std::string> firstUnknown(const std::vector<std::string>& arguments,
                                        bool safeBrowser) {
    for (const std::string& argument : arguments) {
        if (takesTheRest(argument)) {
            return std::nullopt;
        }
        const bool known = argument.starts_with(HomeOption) || argument == "--check-config" ||
                           argument == "--restore-desktop" || argument == "--help" ||
                           argument == "-h" || argument == "--version" ||
                           hasSafeWebBrowserSwitch({"", argument});
        if (known) {
            continue;
        }
        if (isSwitchText(argument)) {
            return "unknown option \"" + argument + "\"";
        }
        if (!safeBrowser) {
            return "unexpected argument \"" + argument + "\"";
        }
    }
    return std::nullopt;
}

// The kiosk's switch before any option that takes the rest: without an address it would start
// the full kiosk instead of the one page asked for.
bool hasOwnSafeWebBrowserSwitch(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (takesTheRest(argument)) {
            return false;
        }
        if (hasSafeWebBrowserSwitch({"", argument})) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool needsHomeFolder(ProgramMode mode) {
    return mode == ProgramMode::Kiosk || mode == ProgramMode::CheckConfig ||
           mode == ProgramMode::CheckUrl || mode == ProgramMode::RestoreDesktop;
}

ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments) {
    Arguments withProgram{""};
    withProgram.insert(withProgram.end(), arguments.begin(), arguments.end());
    const bool safeBrowser = isSafeWebBrowserMode(withProgram);
    if (const std::optional<std::string> problem = firstUnknown(arguments, safeBrowser)) {
        return invalid(*problem);
    }
    if (!safeBrowser && hasOwnSafeWebBrowserSwitch(arguments)) {
        return invalid("-SafeWebBrowser needs the address to show");
    }
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto rest = [&] {
            return std::vector<std::string>(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                            arguments.end());
        };
        if (argument.starts_with(HomeOption)) {
            options.home = argument.substr(HomeOption.size());
        } else if (argument == "--help" || argument == "-h") {
            options.mode = ProgramMode::Help;
        } else if (argument == "--version" && options.mode != ProgramMode::Help) {
            options.mode = ProgramMode::Version;
        } else if (argument == "--check-config" && options.mode == ProgramMode::Kiosk) {
            options.mode = ProgramMode::CheckConfig;
        } else if (argument == "--restore-desktop" && options.mode == ProgramMode::Kiosk) {
            options.mode = ProgramMode::RestoreDesktop;
        } else if (argument == "--check-url" && options.mode == ProgramMode::Kiosk) {
            options.mode = ProgramMode::CheckUrl;
            options.addresses = rest();
            break;
        } else if (argument == "--send" && options.mode == ProgramMode::Kiosk) {
            options.mode = ProgramMode::Send;
            options.sendWords = rest();
            break;
        }
    }
    if (options.mode == ProgramMode::CheckUrl && options.addresses.empty()) {
        return invalid("--check-url needs at least one address");
    }
    return options;
}

std::string homeFolder(const ProgramOptions& options, const std::string& programPath) {
    return options.home.value_or(folderOf(programPath));
}

std::string usageText() {
    return R"(Usage: plintor [--home=DIR]                        run the kiosk
       plintor [--home=DIR] -SafeWebBrowser ADDRESS  show one address, every address allowed,
                                                     no configuration read
       plintor [--home=DIR] --check-config           print the effective settings, warn about
                                                     anything the kiosk cannot use
       plintor [--home=DIR] --check-url ADDRESS...   say "allowed" or "blocked" for each address
       plintor [--home=DIR] --restore-desktop        put back the desktop shell and display
                                                     power saving a killed kiosk left stopped
       plintor --send navigate ADDRESS               make the running kiosk open an address
       plintor --send quit                           end the running kiosk
       plintor --send status                         print the running kiosk's state as JSON
       plintor --send reload-lists                   make the running kiosk read its allow and
                                                     deny lists again
       plintor --send screenshot FILE                make the running kiosk write a PNG of its
                                                     window to FILE
       plintor --help | -h                           print this text
       plintor --version                             print the program's and the engine's version

--home=DIR  the folder of plintor.ini, Whitelist.txt, Blacklist.txt and plintor.log (default:
            the program's own folder when it can write there, else, for an installed program,
            $XDG_CONFIG_HOME/plintor, usually ~/.config/plintor, with the missing default
            copies taken from /etc/plintor)

Exit codes: 0 success (a kiosk always ends with 0); 1 --check-config printed warnings or
errors, --send found no running kiosk (or status got no answer within 5 s, or the screenshot
was not written), or
--restore-desktop could not put everything back; 2 the command line was not understood, or no
home folder can be named.
)";
}

}  // namespace plintor
