#include "core/app/ServiceStatus.h"

#include "core/browser/UrlHelpers.h"

namespace plintor {

std::string serviceStatusText(std::string_view address, long long idleSeconds) {
    std::string shown = addressForLog(address);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    if (shown.empty()) {
        shown = "no page";
    }
    return "Showing " + shown + ", idle " + std::to_string(idleSeconds < 0 ? 0 : idleSeconds) +
           " s";
}

}  // namespace plintor
