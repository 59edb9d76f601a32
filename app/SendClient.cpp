#include "app/SendClient.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "core/app/QuitToken.h"
#include "platform/Platform.h"

namespace plintor {
namespace {

// A kiosk busy loading a heavy page still answers within this; one that does not is stuck.
constexpr std::chrono::seconds StatusAnswerLimit(5);
// Drawing the window is quick; encoding and writing the picture may meet a slow disk.
constexpr std::chrono::seconds ScreenshotAnswerLimit(15);

KioskMessage quitMessage() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::int32_t date = quitTokenDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return {MessageKind::RemoteQuit, date, quitTokenKeyed(date), {}};
}

int askStatus(Platform& platform, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<KioskMessage> answer =
        platform.askInstance({MessageKind::StatusRequest, 0, 0, {}}, StatusAnswerLimit, error);
    if (!answer) {
        err << "plintor: " << error << '\n';
        return 1;
    }
    if (answer->kind != MessageKind::StatusReply) {
        err << "plintor: the kiosk answered something else than its status\n";
        return 1;
    }
    out << answer->text << '\n' << std::flush;
    return out ? 0 : 1;
}

// The kiosk runs in another folder: a relative name is the caller's.
int askScreenshot(const std::string& file, Platform& platform, std::ostream& err) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
    std::string error;
    const std::optional<KioskMessage> answer = platform.askInstance(
        {MessageKind::Screenshot, 0, 0, absolute.string()}, ScreenshotAnswerLimit, error);
    if (!answer) {
        err << "plintor: " << error << '\n';
        return 1;
    }
    if (answer->kind != MessageKind::ScreenshotReply) {
        err << "plintor: the kiosk answered something else than the screenshot\n";
        return 1;
    }
    if (!answer->text.empty()) {
        err << "plintor: " << absolute.string() << " not written: " << answer->text << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int runSendClient(const std::vector<std::string>& words, Platform& platform, std::ostream& out,
                  std::ostream& err) {
    KioskMessage message;
    if (words.size() == 2 && words[0] == "navigate") {
        message = {MessageKind::CopyData, 0, 0, words[1]};
    } else if (words.size() == 1 && words[0] == "quit") {
        message = quitMessage();
    } else if (words.size() == 1 && words[0] == "reload-lists") {
        message = {MessageKind::ReloadLists, 0, 0, {}};
    } else if (words.size() == 1 && words[0] == "status") {
        return askStatus(platform, out, err);
    } else if (words.size() == 2 && words[0] == "screenshot" && !words[1].empty()) {
        return askScreenshot(words[1], platform, err);
    } else {
        err << "plintor: use --send navigate ADDRESS, --send quit, --send status, "
               "--send reload-lists or --send screenshot FILE\n";
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
