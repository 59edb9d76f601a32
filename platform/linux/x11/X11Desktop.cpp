#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/lockdown/DesktopChanges.h"
#include "platform/Desktop.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/x11/X11DesktopPrograms.h"
#include "platform/linux/x11/X11DesktopWatch.h"
#include "platform/linux/x11/X11DisplayPower.h"
#include "platform/linux/x11/X11ForeignWindows.h"
#include "platform/linux/x11/X11Shell.h"
#include "platform/linux/x11/X11WindowStacking.h"

namespace plintor {
namespace {

// The jobs on one connection of the kiosk's own; the changes record outlives them all, so that
// display power saving switched on again at the end is recorded too.
class X11Desktop final : public Desktop, private DesktopRepairs {
public:
    explicit X11Desktop(std::unique_ptr<X11Display> display)
        : m_watch(std::move(display)),
          m_programs(m_watch.x11()),
          m_foreignWindows(m_watch, m_programs),
          m_shell(m_watch, m_programs, m_changes),
          m_stacking(m_watch, m_programs.context().ownProcessId),
          m_displayPower(m_watch, m_changes) {}

    ForeignWindows& foreignWindows() override { return m_foreignWindows; }
    DesktopShell& shell() override { return m_shell; }
    WindowStacking& stacking() override { return m_stacking; }
    DisplayPower& displayPower() override { return m_displayPower; }
    DesktopEvents& events() override { return m_watch; }

    std::string keepChangesRecord(const std::string& fileName) override {
        return m_changes.keepIn(fileName, *this);
    }

private:
    bool switchPowerSavingOn() override { return m_displayPower.switchPowerSavingOn(); }
    int startShellAgain(const std::vector<ShellCommand>& commands) override {
        return m_shell.startAgain(commands);
    }

    DesktopChanges m_changes;
    X11DesktopWatch m_watch;
    X11DesktopPrograms m_programs;
    X11ForeignWindows m_foreignWindows;
    X11Shell m_shell;
    X11WindowStacking m_stacking;
    X11DisplayPower m_displayPower;
};

}  // namespace

std::unique_ptr<Desktop> connectX11Desktop() {
    std::unique_ptr<X11Display> display = X11Display::open();
    if (display == nullptr) {
        return nullptr;
    }
    return std::make_unique<X11Desktop>(std::move(display));
}

}  // namespace plintor
