#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/app/KioskMessage.h"

namespace plintor {

// A message as the channel delivered it, with where an answer reaches its sender.
struct ReceivedMessage {
    KioskMessage message;
    std::string sender;  // the channel's own form of the sender's address; empty: cannot answer
};

// The single-instance claim and the channel through which this user's other programs reach
// the running kiosk. Held for the kiosk's whole run; released when the object goes.
class InstanceChannel {
public:
    virtual ~InstanceChannel() = default;

    // A descriptor that becomes readable when messages wait.
    virtual int descriptor() const = 0;
    // The messages waiting now; messages from other users are dropped.
    virtual std::vector<ReceivedMessage> receiveAll() = 0;
    // Sends `answer` to the sender of a received message, without waiting: false when it is
    // gone, takes nothing now, or cannot be answered (`error` says why).
    virtual bool answer(const std::string& sender, const KioskMessage& answer,
                        std::string& error) = 0;
};

}  // namespace plintor
