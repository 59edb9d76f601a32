#include "tests/support/FakeDesktop.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace plintor::test {

FakeDesktop::FakeDesktop(DesktopScript& script, CallLog& calls)
    : m_script(script),
      m_calls(calls),
      m_changeFd(script.reportsChanges ? ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC) : -1) {}

FakeDesktop::~FakeDesktop() {
    if (m_changeFd >= 0) {
        ::close(m_changeFd);
    }
}

void FakeDesktop::reportChange() {
    const std::uint64_t one = 1;
    if (m_changeFd >= 0 && ::write(m_changeFd, &one, sizeof one) != sizeof one) {
        m_calls.add("events.reportChange failed");
    }
}

std::string FakeDesktop::keepChangesRecord(const std::string& fileName) {
    m_calls.add("desktop.keepChangesRecord");
    return m_changes.keepIn(fileName, *this);
}

bool FakeDesktop::closeForeignWindows() {
    m_calls.add("foreignWindows.closeForeignWindows");
    return !m_script.foreignWindowsLeft;
}

bool FakeDesktop::stopShell() {
    m_calls.add("shell.stopShell");
    if (!m_script.shellRunning) {
        return false;
    }
    m_withheld = m_changes.shellStopping(m_script.shellCommand);
    if (!m_withheld.empty()) {
        return false;
    }
    m_stopped = {m_script.shellCommand};
    m_script.shellRunning = false;
    return true;
}

int FakeDesktop::startShell() {
    m_calls.add("shell.startShell");
    if (m_stopped.empty()) {
        return 2;
    }
    if (m_script.shellStartResult > 32) {
        m_stopped.clear();
        m_script.shellRunning = true;
    }
    m_changes.shellStillStopped(m_stopped);
    return m_script.shellStartResult;
}

bool FakeDesktop::bringWindowToFront(unsigned long window) {
    m_calls.add("stacking.bringWindowToFront(" + std::to_string(window) + ")");
    m_script.foreignInFront = false;
    return true;
}

bool FakeDesktop::foreignWindowInFront() {
    return m_script.foreignInFront;
}

void FakeDesktop::setTopmost(unsigned long window, bool topmost) {
    m_calls.add("stacking.setTopmost(" + std::to_string(window) + ", " +
                (topmost ? "true" : "false") + ")");
}

void FakeDesktop::raiseWindow(unsigned long window) {
    m_calls.add("stacking.raiseWindow(" + std::to_string(window) + ")");
}

void FakeDesktop::lowerWindow(unsigned long window) {
    m_calls.add("stacking.lowerWindow(" + std::to_string(window) + ")");
}

void FakeDesktop::keepDisplayOn(bool on) {
    m_calls.add(std::string("displayPower.keepDisplayOn(") + (on ? "true" : "false") + ")");
    m_changes.powerSavingHeldOff(on && m_script.powerSavingOn);
}

bool FakeDesktop::isScreensaverRunning() {
    return m_script.screensaverRunning;
}

int FakeDesktop::changeDescriptor() const {
    return m_changeFd;
}

bool FakeDesktop::takeChanges() {
    std::uint64_t count = 0;
    return m_changeFd >= 0 && ::read(m_changeFd, &count, sizeof count) == sizeof count;
}

bool FakeDesktop::switchPowerSavingOn() {
    m_calls.add("displayPower.switchPowerSavingOn");
    return m_script.powerSavingOn;
}

int FakeDesktop::startShellAgain(const std::vector<ShellCommand>& commands) {
    m_stopped = commands;
    return startShell();
}

}  // namespace plintor::test
