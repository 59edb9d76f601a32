#pragma once

#include <string>
#include <vector>

#include "core/lockdown/DesktopChanges.h"
#include "platform/Desktop.h"
#include "platform/DesktopEvents.h"
#include "platform/DesktopShell.h"
#include "platform/DisplayPower.h"
#include "platform/ForeignWindows.h"
#include "platform/WindowStacking.h"
#include "tests/support/CallLog.h"

namespace plintor::test {

// How the fake desktop answers, set by the test; it changes as the kiosk acts on it (a shell
// that was stopped is not running any more).
struct DesktopScript {
    bool foreignWindowsLeft = false;  // closeForeignWindows finds something to end
    bool shellRunning = true;         // a shell is there to stop
    ShellCommand shellCommand{{"/usr/bin/panel"}, "/", {}, "/usr/bin/panel"};
    int shellStartResult = 4242;  // what starting the shell gives (above 32: started)
    bool foreignInFront = false;  // another program's window is the active one
    bool screensaverRunning = false;
    bool powerSavingOn = true;   // the display has power saving, and it is on
    bool reportsChanges = true;  // the desktop has a descriptor that tells of changes
};

// The desktop's five ports in memory, on one script and one call log. The changes record is
// the core's own, written to the file the kiosk names, as on a real desktop.
class FakeDesktop final : public Desktop,
                          private DesktopRepairs,
                          private ForeignWindows,
                          private DesktopShell,
                          private WindowStacking,
                          private DisplayPower,
                          private DesktopEvents {
public:
    FakeDesktop(DesktopScript& script, CallLog& calls);
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;
    ~FakeDesktop() override;

    // The desktop reports a change: its descriptor becomes readable.
    void reportChange();

    ForeignWindows& foreignWindows() override { return *this; }
    DesktopShell& shell() override { return *this; }
    WindowStacking& stacking() override { return *this; }
    DisplayPower& displayPower() override { return *this; }
    DesktopEvents& events() override { return *this; }
    std::string keepChangesRecord(const std::string& fileName) override;

private:
    bool closeForeignWindows() override;
    bool stopShell() override;
    std::string shellStopWithheld() const override { return m_withheld; }
    int startShell() override;
    bool bringWindowToFront(unsigned long window) override;
    bool foreignWindowInFront() override;
    void setTopmost(unsigned long window, bool topmost) override;
    void raiseWindow(unsigned long window) override;
    void lowerWindow(unsigned long window) override;
    void keepDisplayOn(bool on) override;
    bool isScreensaverRunning() override;
    int changeDescriptor() const override;
    bool takeChanges() override;
    bool changesQueued() const override { return false; }
    bool switchPowerSavingOn() override;
    int startShellAgain(const std::vector<ShellCommand>& commands) override;

    DesktopScript& m_script;
    CallLog& m_calls;
    DesktopChanges m_changes;
    std::vector<ShellCommand> m_stopped;
    std::string m_withheld;
    int m_changeFd = -1;
};

}  // namespace plintor::test
