#pragma once

#include "core/app/UnattendedOperation.h"

namespace plintor {

struct KioskState;
class KioskWindow;

// The visitor's page as the unattended operation sees it: the home page, whether the visitor
// changed it, and the session that a new visitor starts without.
class VisitorSession final : public VisitorPage {
public:
    VisitorSession(const KioskState& state, KioskWindow& window)
        : m_state(state), m_window(window) {}

    void goHome() override;
    bool homePageUnchanged() const override;
    void clearSession() override;
    void renewPage() override;
    void resetZoom() override;

private:
    const KioskState& m_state;
    KioskWindow& m_window;
};

}  // namespace plintor
