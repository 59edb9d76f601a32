#pragma once

#include <memory>

#include "platform/Platform.h"

namespace plintor::test {

// The platform's services, made once for the whole test program as the kiosk makes them.
inline Platform& realPlatform() {
    static const std::unique_ptr<Platform> platform = createPlatform();
    return *platform;
}

}  // namespace plintor::test
