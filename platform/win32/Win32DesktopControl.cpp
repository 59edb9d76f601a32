// The desktop around the kiosk window on Windows: the other programs' top-level windows, the
// shell (Explorer), the foreground and the display's power state.
#include <windows.h>

#include <memory>

#include "core/lockdown/DesktopRecord.h"
#include "core/lockdown/DesktopRecordFile.h"
#include "core/lockdown/ForeignWindowRules.h"
#include "platform/DesktopControl.h"
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

class Win32DesktopControl final : public DesktopControl {
public:
    // A shell or development environment started later counts as a foreign program.
    Win32DesktopControl()
        : m_context{static_cast<long>(GetCurrentProcessId()), processOfClass(L"TAppBuilder"),
                    processOfClass(L"Progman")} {}

    bool closeForeignWindows() override {
        ClosingPass pass{m_context};
        EnumWindows(closeForeignWindow, reinterpret_cast<LPARAM>(&pass));
        return !pass.acted;
    }

    // The shell is asked to end only once the record names it: after a kill, nothing else
    // would start it again.
    bool stopShell() override {
        const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        m_shellStopWithheld.clear();
        if (taskbar == nullptr) {
            return false;
        }
        if (!m_shellStopped) {
            m_shellStopWithheld = m_record.save(changes(true));
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
        saveChangesRecord();
        return result;
    }

    bool bringWindowToFront(unsigned long window) override;

    bool foreignWindowInFront() override {
        const HWND front = GetForegroundWindow();
        return front != nullptr && processOf(front) != m_context.ownProcessId;
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

    bool isScreensaverRunning() override {
        BOOL running = FALSE;
        return SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
    }

    // Windows has no descriptor to wait on for other programs' windows: the guard asks.
    int changeDescriptor() const override { return -1; }
    bool takeChanges() override { return false; }
    bool changesQueued() const override { return false; }

    // The execution state ends with the process, so a killed kiosk leaves no display setting
    // behind; only the stopped shell goes into the record.
    void keepDisplayOn(bool on) override { applyExecutionState(on); }

    std::string keepChangesRecord(const std::string& fileName) override;

private:
    static DesktopRecord changes(bool shellStopped);
    void saveChangesRecord() const { m_record.save(changes(m_shellStopped)); }

    ForeignWindowContext m_context;
    bool m_shellStopped = false;
    DesktopRecordFile m_record;
    std::string m_shellStopWithheld;
};

bool Win32DesktopControl::bringWindowToFront(unsigned long handle) {
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

DesktopRecord Win32DesktopControl::changes(bool shellStopped) {
    DesktopRecord record;
    if (shellStopped) {
        record.stoppedShell.push_back(ShellCommand{{"explorer.exe"}, "", {}, ""});
    }
    return record;
}

std::string Win32DesktopControl::keepChangesRecord(const std::string& fileName) {
    const DesktopRecordFile::Leftover leftover = m_record.keepIn(fileName);
    std::string repaired;
    if (leftover.damaged) {
        repaired = "its record " + fileName + " was damaged and is dropped";
    } else if (leftover.record && !leftover.record->stoppedShell.empty()) {
        const int started = startShellProgram(shellLaunch(isWow64(), windowsFolder()));
        repaired = "the desktop shell is started again (" + std::to_string(started) + ")";
    }
    saveChangesRecord();
    return repaired;
}

}  // namespace

std::unique_ptr<DesktopControl> createWin32DesktopControl() {
    return std::make_unique<Win32DesktopControl>();
}

}  // namespace plintor
