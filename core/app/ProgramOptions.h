#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plintor {

enum class TProgramMode { Kiosk, CheckConfig, CheckUrl, Send };

// The operator's options; everything else on the command line belongs to the kiosk.
struct TProgramOptions {
    TProgramMode Mode = TProgramMode::Kiosk;
    std::optional<std::string> Home;     // --home=DIR
    std::vector<std::string> Addresses;  // after --check-url
    std::vector<std::string> SendWords;  // after --send: "navigate ADDRESS" or "quit"
};

// `arguments` without the program path.
TProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace plintor
