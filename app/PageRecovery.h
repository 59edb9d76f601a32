#pragma once

#include <functional>
#include <string>

#include "core/app/RendererRecovery.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;

// The page's web process ended or hung: the home page comes back in a fresh session, soon or,
// when it keeps happening, a minute later; one recovery for a process that both hung and
// ended.
class PageRecovery {
public:
    // `recover` brings the home page back in a fresh session.
    PageRecovery(KioskState& state, std::function<void()> recover);

    void rendererEnded(const std::string& reason);
    void rendererUnresponsive();

private:
    void recoverLater();

    KioskState& m_state;
    std::function<void()> m_recover;
    RendererRecovery m_recovery;
    Timeout m_delay;
};

}  // namespace plintor
