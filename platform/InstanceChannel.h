#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/app/KioskMessage.h"

namespace plintor {

// The single-instance claim and the channel through which other programs reach the running
// kiosk. Held for the kiosk's whole run; released when the object goes.
class InstanceChannel {
public:
    virtual ~InstanceChannel() = default;

    // A descriptor that becomes readable when messages wait.
    virtual int descriptor() const = 0;
    // The messages waiting now; messages from other users are dropped.
    virtual std::vector<KioskMessage> receiveAll() = 0;
};

}  // namespace plintor
