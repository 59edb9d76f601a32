#include "core/app/ProgramOptions.h"

#include <algorithm>

#include "core/app/CommandLine.h"

namespace plintor {
namespace {

constexpr std::string_view HomeOption = "--home=";

bool IsSwitchText(const std::string& argument) {
    return !argument.empty() && (argument[0] == '-' || argument[0] == '/');
}

TProgramOptions Invalid(std::string problem) {
    TProgramOptions options;
    options.Mode = TProgramMode::Invalid;
    options.Problem = std::move(problem);
    return options;
}

// The options that take the rest of the command line as their words.
bool TakesTheRest(const std::string& argument) {
    return argument == "--check-url" || argument == "--send";
}

// The arguments before an option that takes the rest, which must all be known.
std::optional<std::string> FirstUnknown(const std::vector<std::string>& arguments,
                                        bool safeBrowser) {
    for (const std::string& argument : arguments) {
        if (TakesTheRest(argument)) {
            return std::nullopt;
        }
        const bool known = argument.starts_with(HomeOption) || argument == "--check-config" ||
                           argument == "--help" || argument == "-h" || argument == "--version" ||
                           HasSafeWebBrowserSwitch({"", argument});
        if (known) {
            continue;
        }
        if (IsSwitchText(argument)) {
            return "unknown option \"" + argument + "\"";
        }
        if (!safeBrowser) {
            return "unexpected argument \"" + argument + "\"";
        }
    }
    return std::nullopt;
}

}  // namespace

TProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    TArguments withProgram{""};
    withProgram.insert(withProgram.end(), arguments.begin(), arguments.end());
    const bool safeBrowser = IsSafeWebBrowserMode(withProgram);
    if (const std::optional<std::string> problem = FirstUnknown(arguments, safeBrowser)) {
        return Invalid(*problem);
    }
    TProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto rest = [&] {
            return std::vector<std::string>(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                            arguments.end());
        };
        if (argument.starts_with(HomeOption)) {
            options.Home = argument.substr(HomeOption.size());
        } else if (argument == "--help" || argument == "-h") {
            options.Mode = TProgramMode::Help;
        } else if (argument == "--version" && options.Mode != TProgramMode::Help) {
            options.Mode = TProgramMode::Version;
        } else if (argument == "--check-config" && options.Mode == TProgramMode::Kiosk) {
            options.Mode = TProgramMode::CheckConfig;
        } else if (argument == "--check-url" && options.Mode == TProgramMode::Kiosk) {
            options.Mode = TProgramMode::CheckUrl;
            options.Addresses = rest();
            break;
        } else if (argument == "--send" && options.Mode == TProgramMode::Kiosk) {
            options.Mode = TProgramMode::Send;
            options.SendWords = rest();
            break;
        }
    }
    if (options.Mode == TProgramMode::CheckUrl && options.Addresses.empty()) {
        return Invalid("--check-url needs at least one address");
    }
    return options;
}

std::string UsageText() {
    return R"(Usage: plintor [--home=DIR]                        run the kiosk
       plintor [--home=DIR] -SafeWebBrowser ADDRESS  show one address, every address allowed,
                                                     no configuration read
       plintor [--home=DIR] --check-config           print the effective settings, warn about
                                                     anything the kiosk cannot use
       plintor [--home=DIR] --check-url ADDRESS...   say "allowed" or "blocked" for each address
       plintor --send navigate ADDRESS               make the running kiosk open an address
       plintor --send quit                           end the running kiosk
       plintor --help | -h                           print this text
       plintor --version                             print the program's and the engine's version

--home=DIR  the folder of plintor.ini, Whitelist.txt, Blacklist.txt and plintor.log (default:
            the program's own folder)

Exit codes: 0 success (a kiosk always ends with 0); 1 --check-config printed warnings, or
--send found no running kiosk; 2 the command line was not understood.
)";
}

}  // namespace plintor
