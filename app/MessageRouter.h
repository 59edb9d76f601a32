#pragma once

#include "core/app/KioskMessage.h"

namespace plintor {

struct ReceivedMessage;
class InstanceChannel;
class KioskController;
class KioskWindow;
class OperatorRequests;
class ScreenshotRequests;

// The control messages of other programs, each to the part of the kiosk it concerns: the
// operator's requests (status, list reload, screenshot), an address to open (judged like any link),
// the quit with today's token, the first home page and the screensaver's end.
class MessageRouter {
public:
    MessageRouter(OperatorRequests& requests, ScreenshotRequests& screenshots,
                  KioskController& controller, KioskWindow& window)
        : m_requests(requests),
          m_screenshots(screenshots),
          m_controller(controller),
          m_window(window) {}

    // Everything waiting on `channel`.
    void routeAll(InstanceChannel& channel);
    void route(const KioskMessage& message);

private:
    void remoteQuit(std::int32_t wParam, std::int32_t lParam);

    OperatorRequests& m_requests;
    ScreenshotRequests& m_screenshots;
    KioskController& m_controller;
    KioskWindow& m_window;
};

}  // namespace plintor
