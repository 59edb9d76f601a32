#include "ProgramOptions.h"

namespace plintor {

TProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    static const std::string homeSwitch = "--home=";
    TProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.starts_with(homeSwitch)) {
            options.Home = argument.substr(homeSwitch.size());
        } else if (argument == "--check-config" && options.Mode == TProgramMode::Kiosk) {
            options.Mode = TProgramMode::CheckConfig;
        } else if (argument == "--check-url" && options.Mode == TProgramMode::Kiosk) {
            options.Mode = TProgramMode::CheckUrl;
            options.Addresses.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                     arguments.end());
            break;
        } else if (argument == "--send" && options.Mode == TProgramMode::Kiosk) {
            options.Mode = TProgramMode::Send;
            options.SendWords.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                     arguments.end());
            break;
        }
    }
    return options;
}

}  // namespace plintor
