#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/app/KioskMessage.h"

namespace plintor {

struct ReceivedMessage;
class Clock;
class InstanceChannel;

// A part of the kiosk that takes some messages itself and answers their sender: the operator's
// requests, the screenshots.
class AnsweredRequests {
public:
    virtual ~AnsweredRequests() = default;
    // True when the message was one of this part's; false to pass it on.
    virtual bool handle(const ReceivedMessage& received, InstanceChannel& channel) = 0;
};

// What the other messages ask of the kiosk.
class RoutedActions {
public:
    virtual ~RoutedActions() = default;
    // Opens the address as a link the visitor followed would be: judged by the lists.
    virtual void navigate(const std::string& address) = 0;
    virtual void quit() = 0;
    virtual void openHomeOnce() = 0;
    virtual void hideScreensaver() = 0;
};

// The control messages of other programs, each to the part of the kiosk it concerns: the
// operator's requests (status, list reload, screenshot), an address to open (judged like any link),
// the quit with today's token, the first home page and the screensaver's end.
class MessageRouter {
public:
    // `answering` are asked in turn; `clock` tells today's date for the quit token.
    MessageRouter(std::vector<AnsweredRequests*> answering, RoutedActions& actions,
                  const Clock& clock)
        : m_answering(std::move(answering)), m_actions(actions), m_clock(clock) {}

    // Everything waiting on `channel`.
    void routeAll(InstanceChannel& channel);
    void route(const KioskMessage& message);

private:
    bool answered(const ReceivedMessage& received, InstanceChannel& channel) const;
    void remoteQuit(std::int32_t wParam, std::int32_t lParam);

    std::vector<AnsweredRequests*> m_answering;
    RoutedActions& m_actions;
    const Clock& m_clock;
};

}  // namespace plintor
