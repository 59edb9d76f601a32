#include "app/SendClient.h"

#include <ctime>

#include "core/app/QuitToken.h"
#include "platform/Platform.h"

namespace plintor {
namespace {

KioskMessage quitMessage() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::int32_t date = quitTokenDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return {WM_REMOTEQUIT, date, quitTokenKeyed(date), {}};
}

}  // namespace

int runSendClient(const std::vector<std::string>& words, Platform& platform, std::ostream& err) {
    KioskMessage message;
    if (words.size() == 2 && words[0] == "navigate") {
        message = {WM_COPYDATA, 0, 0, words[1]};
    } else if (words.size() == 1 && words[0] == "quit") {
        message = quitMessage();
    } else {
        err << "plintor: use --send navigate ADDRESS or --send quit\n";
        return 2;
    }
    std::string error;
    if (!platform.sendToInstance(message, error)) {
        err << "plintor: " << error << '\n';
        return 1;
    }
    return 0;
}

}  // namespace plintor
