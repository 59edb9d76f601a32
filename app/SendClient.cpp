#include "app/SendClient.h"

#include <chrono>
#include <ctime>

#include "core/app/QuitToken.h"
#include "platform/Platform.h"

namespace plintor {
namespace {

// A kiosk busy loading a heavy page still answers within this; one that does not is stuck.
constexpr std::chrono::seconds StatusAnswerLimit(5);

KioskMessage quitMessage() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::int32_t date = quitTokenDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return {WM_REMOTEQUIT, date, quitTokenKeyed(date), {}};
}

int askStatus(Platform& platform, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<KioskMessage> answer =
        platform.askInstance({WM_STATUSREQUEST, 0, 0, {}}, StatusAnswerLimit, error);
    if (!answer) {
        err << "plintor: " << error << '\n';
        return 1;
    }
    if (answer->msg != WM_STATUSREPLY) {
        err << "plintor: the kiosk answered something else than its status\n";
        return 1;
    }
    out << answer->text << '\n' << std::flush;
    return out ? 0 : 1;
}

}  // namespace

int runSendClient(const std::vector<std::string>& words, Platform& platform, std::ostream& out,
                  std::ostream& err) {
    KioskMessage message;
    if (words.size() == 2 && words[0] == "navigate") {
        message = {WM_COPYDATA, 0, 0, words[1]};
    } else if (words.size() == 1 && words[0] == "quit") {
        message = quitMessage();
    } else if (words.size() == 1 && words[0] == "reload-lists") {
        message = {WM_RELOADLISTS, 0, 0, {}};
    } else if (words.size() == 1 && words[0] == "status") {
        return askStatus(platform, out, err);
    } else {
        err << "plintor: use --send navigate ADDRESS, --send quit, --send status or "
               "--send reload-lists\n";
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
