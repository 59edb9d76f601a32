// The desktop around the kiosk window on Windows: the other programs' top-level windows, the
// shell (Explorer), the foreground and the display's power state.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/lockdown/DesktopChanges.h"
#include "core/lockdown/ForeignWindowRules.h"
#include "platform/Desktop.h"
#include "platform/DesktopEvents.h"
#include "platform/DesktopShell.h"
#include "platform/DisplayPower.h"
#include "platform/ForeignWindows.h"
#include "platform/WindowStacking.h"
#include "platform/win32/ExecutionState.h"
#include "platform/win32/ShellLaunch.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

constexpr UINT ShellExitRequest = WM_USER + 436;  // 0x5B4: the taskbar ends the shell

long processOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return static_cast<long>(processId);
}

long processOfClass(const wchar_t* className) {
    const HWND window = FindWindowW(className, nullptr);
    return window != nullptr ? processOf(window) : 0;
}

// 254 characters of room: longer class names count as unreadable.
ForeignWindow describe(HWND window) {
    ForeignWindow described;
    described.viewable = IsWindowVisible(window) != 0;
    described.enabled = IsWindowEnabled(window) != 0;
    wchar_t className[255] = {};
    const int length = GetClassNameW(window, className, 255);
    described.classKnown = length > 0;
    described.className = toUtf8({className, static_cast<std::size_t>(length > 0 ? length : 0)});
    described.processId = processOf(window);
    described.hasTitle = GetWindowTextLengthW(window) > 0;
    return described;
}

void endProcess(long processId) {
    const UniqueHandle process(
        OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(processId)));
    if (process.isValid()) {
        TerminateProcess(process.get(), 0);
    }
}

struct ClosingPass {
    const ForeignWindowContext& context;
    bool acted = false;
};

BOOL CALLBACK closeForeignWindow(HWND window, LPARAM passPointer) {
    ClosingPass& pass = *reinterpret_cast<ClosingPass*>(passPointer);
    switch (decideForeignWindow(describe(window), pass.context)) {
        case ForeignWindowAction::AskToClose:
            pass.acted = PostMessageW(window, WM_QUIT, 0, 0) != 0 || pass.acted;
            break;
        case ForeignWindowAction::EndProcess:
            endProcess(processOf(window));
            pass.acted = true;
            break;
        case ForeignWindowAction::Skip:
            break;
    }
    return TRUE;
}

HWND windowOf(unsigned long window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

// The foreground lock time-out set to 0 around the switch, then put back.
void forceForeground(HWND window) {
    DWORD timeout = 0;
    const bool read = SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0) != 0;
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    if (read) {
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<void*>(static_cast<std::uintptr_t>(timeout)),
                              SPIF_SENDCHANGE);
    }
}

// A shell or development environment started later counts as a foreign program.
class Win32ForeignWindows final : public ForeignWindows {
public:
    explicit Win32ForeignWindows(const ForeignWindowContext& context) : m_context(context) {}

    bool closeForeignWindows() override {
        ClosingPass pass{m_context};
        EnumWindows(closeForeignWindow, reinterpret_cast<LPARAM>(&pass));
        return !pass.acted;
    }

private:
    const ForeignWindowContext& m_context;
};

// Explorer is the shell; the record names it as the program to start again.
class Win32Shell final : public DesktopShell {
public:
    explicit Win32Shell(DesktopChanges& changes) : m_changes(changes) {}

    // The shell is asked to end only once the record names it: after a kill, nothing else
    // would start it again.
    bool stopShell() override {
        const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        m_shellStopWithheld.clear();
        if (taskbar == nullptr) {
            return false;
        }
        if (!m_shellStopped) {
            m_shellStopWithheld =
                m_changes.shellStopping(ShellCommand{{"explorer.exe"}, "", {}, ""});
            if (!m_shellStopWithheld.empty()) {
                return false;
            }
            m_shellStopped = true;
        }
        return PostMessageW(taskbar, ShellExitRequest, 0, 0) != 0;
    }

    std::string shellStopWithheld() const override { return m_shellStopWithheld; }

    int startShell() override {
        const int result = startShellProgram(shellLaunch(isWow64(), windowsFolder()));
        m_shellStopped = false;
        m_changes.shellStillStopped({});
        return result;
    }

private:
    DesktopChanges& m_changes;
    bool m_shellStopped = false;
    std::string m_shellStopWithheld;
};

class Win32WindowStacking final : public WindowStacking {
public:
    explicit Win32WindowStacking(long ownProcessId) : m_ownProcessId(ownProcessId) {}

    bool bringWindowToFront(unsigned long window) override;

    bool foreignWindowInFront() override {
        const HWND front = GetForegroundWindow();
        return front != nullptr && processOf(front) != m_ownProcessId;
    }

    void setTopmost(unsigned long window, bool topmost) override {
        SetWindowPos(windowOf(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void raiseWindow(unsigned long window) override {
        SetWindowPos(windowOf(window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    void lowerWindow(unsigned long window) override {
        SetWindowPos(windowOf(window), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

private:
    const long m_ownProcessId;
};

// The execution state ends with the process, so a killed kiosk leaves no display setting
// behind: nothing of it goes into the record.
class Win32DisplayPower final : public DisplayPower {
public:
    void keepDisplayOn(bool on) override { applyExecutionState(on); }
    bool isScreensaverRunning() override {
        BOOL running = FALSE;
        return SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
    }
};

// Windows has no descriptor to wait on for other programs' windows: the guard asks.
class Win32DesktopEvents final : public DesktopEvents {
public:
    int changeDescriptor() const override { return -1; }
    bool takeChanges() override { return false; }
    bool changesQueued() const override { return false; }
};

class Win32Desktop final : public Desktop, private DesktopRepairs {
public:
    Win32Desktop()
        : m_context{static_cast<long>(GetCurrentProcessId()), processOfClass(L"TAppBuilder"),
                    processOfClass(L"Progman")},
          m_foreignWindows(m_context),
          m_shell(m_changes),
          m_stacking(m_context.ownProcessId) {}

    ForeignWindows& foreignWindows() override { return m_foreignWindows; }
    DesktopShell& shell() override { return m_shell; }
    WindowStacking& stacking() override { return m_stacking; }
    DisplayPower& displayPower() override { return m_displayPower; }
    DesktopEvents& events() override { return m_events; }

    std::string keepChangesRecord(const std::string& fileName) override {
        return m_changes.keepIn(fileName, *this);
    }

private:
    bool switchPowerSavingOn() override { return false; }
    int startShellAgain(const std::vector<ShellCommand>&) override { return m_shell.startShell(); }

    DesktopChanges m_changes;
    ForeignWindowContext m_context;
    Win32ForeignWindows m_foreignWindows;
    Win32Shell m_shell;
    Win32WindowStacking m_stacking;
    Win32DisplayPower m_displayPower;
    Win32DesktopEvents m_events;
};

bool Win32WindowStacking::bringWindowToFront(unsigned long handle) {
    const HWND window = windowOf(handle);
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    const HWND front = GetForegroundWindow();
    if (front == window) {
        return false;
    }
    const DWORD ownThread = GetWindowThreadProcessId(window, nullptr);
    const DWORD frontThread = GetWindowThreadProcessId(front, nullptr);
    bool inFront = false;
    if (AttachThreadInput(ownThread, frontThread, TRUE)) {
        BringWindowToTop(window);
        SetForegroundWindow(window);
        AttachThreadInput(ownThread, frontThread, FALSE);
        inFront = GetForegroundWindow() == window;
    }
    if (!inFront) {
        forceForeground(window);
    }
    return GetForegroundWindow() == window;
}

}  // namespace

std::unique_ptr<Desktop> createWin32Desktop() {
    return std::make_unique<Win32Desktop>();
}

}  // namespace plintor
