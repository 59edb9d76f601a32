#include "app/ScreenGuard.h"

#include "app/GuardedWindow.h"
#include "core/app/UnattendedOperation.h"
#include "core/support/Log.h"
#include "platform/Desktop.h"
#include "platform/DesktopEvents.h"
#include "platform/DisplayPower.h"
#include "platform/WindowStacking.h"

namespace plintor {
namespace {

// Passes that keep changing the desktop are spaced out from this many on.
constexpr int PassesBeforeSpacing = 8;

}  // namespace

ScreenGuard::ScreenGuard(GuardedWindow& window, std::function<void()> desktopChanged)
    : m_window(window),
      m_desktopChanged(std::move(desktopChanged)),
      m_nextPass([this] { lookAtDesktopChanges(); }) {}

ScreenGuard::~ScreenGuard() = default;

void ScreenGuard::setDesktop(Desktop* desktop) {
    m_desktop = desktop;
    m_changes.reset();
    m_queuedChanges.reset();
    if (m_desktop == nullptr || m_desktop->events().changeDescriptor() < 0) {
        return;
    }
    m_changes = std::make_unique<FdWatch>(m_desktop->events().changeDescriptor(),
                                          [this] { lookAtDesktopChanges(); });
    // Reports that came in with the answers to other requests leave nothing on the descriptor
    // to wake the loop: they are looked at before it sleeps, through the guard's own spacing.
    m_queuedChanges = std::make_unique<PrepareWatch>(
        [this] { return !m_nextPass.isActive() && m_desktop->events().changesQueued(); },
        [this] { m_nextPass.start(0); });
}

void ScreenGuard::stop() {
    m_stopped = true;
    m_nextPass.stop();
    m_changes.reset();
    m_queuedChanges.reset();
}

void ScreenGuard::lookAtDesktopChanges() {
    if (m_desktop == nullptr || m_stopped) {
        return;
    }
    if (!m_desktop->events().takeChanges()) {
        m_passesInARow = 0;
        return;
    }
    ++m_passesInARow;
    guardScreen();
    m_desktopChanged();
}

void ScreenGuard::guardScreen() {
    if (m_desktop == nullptr || m_stopped || !m_window.isVisible()) {
        return;
    }
    m_nextPass.start(
        m_passesInARow < PassesBeforeSpacing ? 0 : UnattendedOperation::GuardTickIntervalMs);
    try {
        const unsigned long window = m_window.nativeId();
        WindowStacking& stacking = m_desktop->stacking();
        if (m_desktop->displayPower().isScreensaverRunning()) {
            stacking.setTopmost(window, false);
            stacking.lowerWindow(window);
            return;
        }
        stacking.setTopmost(window, true);
        if (stacking.foreignWindowInFront()) {
            stacking.bringWindowToFront(window);
        }
    } catch (const std::exception& error) {
        logEntry("Screen blocking error");
        logException(error);
    }
}

}  // namespace plintor
