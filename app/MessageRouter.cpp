#include "app/MessageRouter.h"

#include <ctime>

#include "app/KioskController.h"
#include "app/KioskWindow.h"
#include "app/OperatorRequests.h"
#include "app/ScreenshotRequests.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/QuitToken.h"
#include "platform/InstanceChannel.h"

namespace plintor {

void MessageRouter::routeAll(InstanceChannel& channel) {
    for (const ReceivedMessage& received : channel.receiveAll()) {
        if (!m_requests.handle(received, channel) && !m_screenshots.handle(received, channel)) {
            route(received.message);
        }
    }
}

void MessageRouter::route(const KioskMessage& message) {
    switch (message.kind) {
        case MessageKind::CopyData:
            m_window.browser().navigate(message.text);
            break;
        case MessageKind::RemoteQuit:
            remoteQuit(message.wParam, message.lParam);
            break;
        case MessageKind::StartHome:
            m_controller.openHomeOnce();
            break;
        case MessageKind::HideScreensaver:
            m_window.hideScreensaver();
            break;
        default:
            break;
    }
}

void MessageRouter::remoteQuit(std::int32_t wParam, std::int32_t lParam) {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    if (checkQuitToken(wParam, lParam, today.tm_year + 1900, today.tm_mon + 1, today.tm_mday)) {
        m_controller.quit();
    }
}

}  // namespace plintor
