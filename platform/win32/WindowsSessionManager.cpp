// The session manager's requests on Windows: the session's end through ExitWindowsEx (forced,
// as every caller of the kiosk wants), the machine kept awake through the thread's execution
// state.
#include <windows.h>

#include <memory>

#include "platform/SessionManager.h"
#include "platform/win32/ExecutionState.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

class WindowsSessionManager final : public SessionManager {
public:
    ~WindowsSessionManager() override { releaseSleepInhibitor(); }

    bool powerOff() override { return endWindowsSession(SessionShutDown | SessionForce); }
    bool reboot() override { return endWindowsSession(SessionRestart | SessionForce); }
    bool terminateOwnSession() override { return endWindowsSession(SessionLogOff | SessionForce); }

    // The execution state belongs to the calling thread: the user-interface thread.
    // The display requirement is the desktop control's (keepDisplayOn); asking for sleep alone
    // here would drop it, so the display is kept on as the kiosk's default wants.
    bool inhibitSleep() override {
        applyExecutionState(true);
        m_inhibiting = true;
        return true;
    }
    void releaseSleepInhibitor() override {
        if (m_inhibiting) {
            clearExecutionState();
            m_inhibiting = false;
        }
    }

    bool sessionEnding() override { return GetSystemMetrics(SM_SHUTTINGDOWN) != 0; }

private:
    bool m_inhibiting = false;
};

}  // namespace

std::unique_ptr<SessionManager> createWindowsSessionManager() {
    return std::make_unique<WindowsSessionManager>();
}

}  // namespace plintor
