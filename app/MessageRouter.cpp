#include "app/MessageRouter.h"

#include <algorithm>

#include "core/app/QuitToken.h"
#include "core/support/Clock.h"
#include "core/support/LocalTime.h"
#include "platform/InstanceChannel.h"

namespace plintor {

void MessageRouter::routeAll(InstanceChannel& channel) {
    for (const ReceivedMessage& received : channel.receiveAll()) {
        if (!answered(received, channel)) {
            route(received.message);
        }
    }
}

bool MessageRouter::answered(const ReceivedMessage& received, InstanceChannel& channel) const {
    return std::any_of(m_answering.begin(), m_answering.end(),
                       [&](AnsweredRequests* part) { return part->handle(received, channel); });
}

void MessageRouter::route(const KioskMessage& message) {
    switch (message.kind) {
        case MessageKind::CopyData:
            m_actions.navigate(message.text);
            break;
        case MessageKind::RemoteQuit:
            remoteQuit(message.wParam, message.lParam);
            break;
        case MessageKind::StartHome:
            m_actions.openHomeOnce();
            break;
        case MessageKind::HideScreensaver:
            m_actions.hideScreensaver();
            break;
        default:
            break;
    }
}

void MessageRouter::remoteQuit(std::int32_t wParam, std::int32_t lParam) {
    const DateTimeParts today = partsOf(m_clock.now());
    if (checkQuitToken(wParam, lParam, today.year, today.month, today.day)) {
        m_actions.quit();
    }
}

}  // namespace plintor
