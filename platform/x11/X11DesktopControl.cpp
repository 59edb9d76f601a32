#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/lockdown/DesktopRecord.h"
#include "core/lockdown/ForeignWindowRules.h"
#include "core/support/FileHelpers.h"
#include "core/support/FileIO.h"
#include "platform/DesktopControl.h"
#include "platform/x11/LinuxServices.h"
#include "platform/x11/ShellLauncher.h"
#include "platform/x11/X11Display.h"

namespace plintor {
namespace {

// How long BringWindowToFront waits for the window manager to make the window active.
constexpr auto ActivationWait = std::chrono::milliseconds(250);
constexpr auto ActivationPoll = std::chrono::milliseconds(10);
// The source indication of EWMH messages: a pager, which window managers obey without the
// focus stealing prevention meant for applications.
constexpr long PagerSource = 2;
constexpr long NetWmStateRemove = 0;
constexpr long NetWmStateAdd = 1;

struct TTopLevelClient {
    TXWindow Window = 0;
    bool Viewable = false;
};

// The X server's process, from the lock file it keeps for a display of this machine.
long LocalServerProcessId(const char* displayName) {
    const std::string name = displayName != nullptr ? displayName : "";
    const std::size_t colon = name.rfind(':');
    const std::string host = colon == std::string::npos ? "" : name.substr(0, colon);
    if (colon == std::string::npos || !(host.empty() || host == "unix")) {
        return 0;
    }
    const std::string number = name.substr(colon + 1, name.find('.', colon) - colon - 1);
    std::ifstream lock("/tmp/.X" + number + "-lock");
    long processId = 0;
    return lock >> processId && processId > 1 ? processId : 0;
}

class TX11DesktopControl final : public IDesktopControl {
public:
    explicit TX11DesktopControl(std::unique_ptr<TX11Display> display)
        : FX(std::move(display)), FServerProcessId(LocalServerProcessId(DisplayString(Dpy()))) {
        TX11ErrorTrap trap(FX->Get());
        FContext.OwnProcessId = ::getpid();
        FContext.DevelopmentProcessId = 0;
        const std::vector<long> shell = ShellProcessIds();
        FContext.ShellProcessId = shell.empty() ? 0 : shell.front();
    }

    ~TX11DesktopControl() override {
        if (FDisplayKeptOn) {
            KeepDisplayOn(false);
        }
    }

    void CloseForeignWindows() override;
    bool StopShell() override;
    int StartShell() override;
    bool BringWindowToFront(unsigned long window) override;
    bool ForeignWindowInFront() override;
    void SetTopmost(unsigned long window, bool topmost) override;
    void RaiseWindow(unsigned long window) override;
    void LowerWindow(unsigned long window) override;
    bool IsScreensaverRunning() override;
    void KeepDisplayOn(bool on) override;
    std::string KeepChangesRecord(const std::string& fileName) override;

private:
    Display* Dpy() const { return FX->Get(); }
    TXAtom AtomFor(TXAtomName name) const { return FX->AtomFor(name); }

    std::vector<TTopLevelClient> TopLevelClients() const;
    TForeignWindow Describe(const TTopLevelClient& client) const;
    bool IsDesktopOrDock(TXWindow window) const;
    std::vector<long> ShellProcessIds() const;
    long WindowManagerProcessId() const;
    bool MaySignal(long processId, long windowManager) const;
    void AskToClose(TXWindow window) const;
    long WmState(TXWindow window) const;
    TXWindow ActiveWindow() const;
    bool IsActive(TXWindow window) const;
    bool WaitUntilActive(TXWindow window) const;
    void SendToRoot(TXWindow window, TXAtom type, std::initializer_list<long> data) const;
    bool DpmsEnabled() const;
    void SaveChangesRecord() const;

    std::unique_ptr<TX11Display> FX;
    const long FServerProcessId;
    TForeignWindowContext FContext;
    TShellLauncher FShell;
    bool FDisplayKeptOn = false;
    bool FDpmsWasEnabled = false;
    std::string FRecordFile;
};

// Without a window manager nobody sets WM_STATE, so a top-level window that is no pop-up
// counts as a client itself; with one, windows without a client are the manager's own.
std::vector<TTopLevelClient> TX11DesktopControl::TopLevelClients() const {
    const bool managed = FX->WindowManagerCheck() != 0;
    std::vector<TTopLevelClient> clients;
    for (const TXWindow topLevel : FX->Children(FX->Root())) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(Dpy(), topLevel, &attributes)) {
            continue;
        }
        TXWindow client = FX->ClientWindowIn(topLevel);
        if (client == 0 && !managed && !attributes.override_redirect) {
            client = topLevel;
        }
        if (client != 0) {
            // An iconified window is still open, only out of sight, and one click away.
            const bool viewable =
                attributes.map_state == IsViewable || WmState(client) == IconicState;
            clients.push_back({client, viewable});
        }
    }
    return clients;
}

TForeignWindow TX11DesktopControl::Describe(const TTopLevelClient& client) const {
    TForeignWindow window;
    window.Viewable = client.Viewable;
    window.Enabled = true;
    // WM_CLASS holds the instance name and the class name, each ending in a NUL.
    const std::string names = FX->Bytes(client.Window, XA_WM_CLASS);
    const std::size_t split = names.find('\0');
    if (split != std::string::npos) {
        window.ClassName = names.substr(split + 1, names.find('\0', split + 1) - split - 1);
    }
    window.ClassKnown = !window.ClassName.empty();
    window.DesktopOrDock = IsDesktopOrDock(client.Window);
    window.ProcessId = FX->OwnerProcessId(client.Window);
    window.HasTitle = !FX->Bytes(client.Window, AtomFor(TXAtomName::NetWmName)).empty() ||
                      !FX->Bytes(client.Window, XA_WM_NAME).empty();
    return window;
}

bool TX11DesktopControl::IsDesktopOrDock(TXWindow window) const {
    const TXAtom type = AtomFor(TXAtomName::NetWmWindowType);
    return FX->LongsContain(window, type, AtomFor(TXAtomName::NetWmWindowTypeDesktop)) ||
           FX->LongsContain(window, type, AtomFor(TXAtomName::NetWmWindowTypeDock));
}

// Hidden panels count too: they are part of the shell all the same.
std::vector<long> TX11DesktopControl::ShellProcessIds() const {
    const long windowManager = WindowManagerProcessId();
    std::vector<long> processIds;
    for (const TXWindow topLevel : FX->Children(FX->Root())) {
        const TXWindow client = FX->ClientWindowIn(topLevel);
        const TXWindow window = client != 0 ? client : topLevel;
        if (!IsDesktopOrDock(window)) {
            continue;
        }
        const long processId = FX->OwnerProcessId(window);
        if (MaySignal(processId, windowManager) &&
            std::find(processIds.begin(), processIds.end(), processId) == processIds.end()) {
            processIds.push_back(processId);
        }
    }
    return processIds;
}

// Looked up for every pass: the window manager may have been replaced.
long TX11DesktopControl::WindowManagerProcessId() const {
    const TXWindow check = FX->WindowManagerCheck();
    return check != 0 ? FX->OwnerProcessId(check) : 0;
}

// Never init, ourselves, the X server or the window manager: ending any of them ends the
// session, not a program in it.
bool TX11DesktopControl::MaySignal(long processId, long windowManager) const {
    return processId > 1 && processId != FContext.OwnProcessId && processId != FServerProcessId &&
           processId != windowManager;
}

void TX11DesktopControl::CloseForeignWindows() {
    TX11ErrorTrap trap(FX->Get());
    const long windowManager = WindowManagerProcessId();
    for (const TTopLevelClient& client : TopLevelClients()) {
        const TForeignWindow window = Describe(client);
        switch (DecideForeignWindow(window, FContext)) {
            case TForeignWindowAction::Skip:
                break;
            case TForeignWindowAction::AskToClose:
                AskToClose(client.Window);
                break;
            case TForeignWindowAction::EndProcess:
                if (MaySignal(window.ProcessId, windowManager)) {
                    ::kill(static_cast<pid_t>(window.ProcessId), SIGKILL);
                }
                break;
        }
    }
}

// The ICCCM way: a program that does not offer WM_DELETE_WINDOW cannot be asked.
void TX11DesktopControl::AskToClose(TXWindow window) const {
    const TXAtom protocols = AtomFor(TXAtomName::WmProtocols);
    const TXAtom deleteWindow = AtomFor(TXAtomName::WmDeleteWindow);
    if (!FX->LongsContain(window, protocols, deleteWindow)) {
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(Dpy(), window, False, NoEventMask, &event);
}

// A shell whose command line cannot be read is ended all the same: the lockdown comes first.
bool TX11DesktopControl::StopShell() {
    TX11ErrorTrap trap(FX->Get());
    bool signalled = false;
    for (const long processId : ShellProcessIds()) {
        FShell.Remember(processId);
        SaveChangesRecord();  // before it ends: a kill right after must not lose it
        signalled = ::kill(static_cast<pid_t>(processId), SIGTERM) == 0 || signalled;
    }
    return signalled;
}

int TX11DesktopControl::StartShell() {
    const int result = FShell.StartAll();
    SaveChangesRecord();
    return result;
}

long TX11DesktopControl::WmState(TXWindow window) const {
    const std::vector<unsigned long> state = FX->Longs(window, AtomFor(TXAtomName::WmState));
    return state.empty() ? WithdrawnState : static_cast<long>(state.front());
}

// Without a window manager there is no _NET_ACTIVE_WINDOW (or a stale one): the focus tells.
TXWindow TX11DesktopControl::ActiveWindow() const {
    if (FX->WindowManagerCheck() != 0) {
        const std::vector<unsigned long> active =
            FX->Longs(FX->Root(), AtomFor(TXAtomName::NetActiveWindow));
        return active.empty() ? 0 : active.front();
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(Dpy(), &focus, &revertTo);
    return focus == PointerRoot ? 0 : focus;
}

// The focus may rest on a window inside the top-level window.
bool TX11DesktopControl::IsActive(TXWindow window) const {
    const TXWindow active = ActiveWindow();
    if (active == 0 || active == window) {
        return active != 0;
    }
    const TXWindow topLevel = FX->TopLevelOf(window);
    return topLevel != 0 && FX->TopLevelOf(active) == topLevel;
}

bool TX11DesktopControl::WaitUntilActive(TXWindow window) const {
    const auto deadline = std::chrono::steady_clock::now() + ActivationWait;
    while (!IsActive(window)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(ActivationPoll);
    }
    return true;
}

void TX11DesktopControl::SendToRoot(TXWindow window, TXAtom type,
                                    std::initializer_list<long> data) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(Dpy(), FX->Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool TX11DesktopControl::BringWindowToFront(unsigned long window) {
    TX11ErrorTrap trap(FX->Get());
    if (WmState(window) == IconicState) {
        XMapWindow(Dpy(), window);
    }
    if (IsActive(window)) {
        return false;
    }
    SendToRoot(window, AtomFor(TXAtomName::NetActiveWindow), {PagerSource, CurrentTime, 0});
    XRaiseWindow(Dpy(), FX->TopLevelOf(window));
    XSetInputFocus(Dpy(), window, RevertToParent, CurrentTime);
    XSync(Dpy(), False);
    return WaitUntilActive(window);
}

// A window whose owner is unknown is not ours: ours are always known.
bool TX11DesktopControl::ForeignWindowInFront() {
    TX11ErrorTrap trap(FX->Get());
    const TXWindow active = ActiveWindow();
    return active != 0 && FX->OwnerProcessId(active) != FContext.OwnProcessId;
}

void TX11DesktopControl::SetTopmost(unsigned long window, bool topmost) {
    TX11ErrorTrap trap(FX->Get());
    SendToRoot(window, AtomFor(TXAtomName::NetWmState),
               {topmost ? NetWmStateAdd : NetWmStateRemove,
                static_cast<long>(AtomFor(TXAtomName::NetWmStateAbove)), 0, PagerSource});
    if (topmost) {
        XRaiseWindow(Dpy(), FX->TopLevelOf(window));
    }
    XFlush(Dpy());
}

// The frame moves, not the window: inside its frame the window has nothing to pass.
void TX11DesktopControl::RaiseWindow(unsigned long window) {
    TX11ErrorTrap trap(FX->Get());
    XRaiseWindow(Dpy(), FX->TopLevelOf(window));
    XFlush(Dpy());
}

void TX11DesktopControl::LowerWindow(unsigned long window) {
    TX11ErrorTrap trap(FX->Get());
    XLowerWindow(Dpy(), FX->TopLevelOf(window));
    XFlush(Dpy());
}

bool TX11DesktopControl::IsScreensaverRunning() {
    if (!FX->HasScreenSaverExtension()) {
        return false;
    }
    TX11ErrorTrap trap(FX->Get());
    const std::unique_ptr<XScreenSaverInfo, int (*)(void*)> info(XScreenSaverAllocInfo(), XFree);
    return info != nullptr && XScreenSaverQueryInfo(Dpy(), FX->Root(), info.get()) &&
           info->state == ScreenSaverOn;
}

bool TX11DesktopControl::DpmsEnabled() const {
    CARD16 level = 0;
    BOOL enabled = False;
    return DPMSInfo(Dpy(), &level, &enabled) && enabled;
}

// The server counts a client's suspensions, so only a change is sent: one "off" must undo any
// number of "on". It ends the suspension with our connection, but DPMS stays as we leave it:
// it is switched back on when the display may sleep again, and when we go.
void TX11DesktopControl::KeepDisplayOn(bool on) {
    TX11ErrorTrap trap(FX->Get());
    if (FX->HasScreenSaverExtension() && on != FDisplayKeptOn) {
        XScreenSaverSuspend(Dpy(), on ? True : False);
    }
    if (on) {
        XResetScreenSaver(Dpy());
    }
    if (FX->HasDpmsExtension()) {
        if (on) {
            FDpmsWasEnabled = FDisplayKeptOn ? FDpmsWasEnabled : DpmsEnabled();
            DPMSDisable(Dpy());
        } else if (FDisplayKeptOn && FDpmsWasEnabled) {
            DPMSEnable(Dpy());
        }
    }
    FDisplayKeptOn = on;
    XFlush(Dpy());
    SaveChangesRecord();
}

void TX11DesktopControl::SaveChangesRecord() const {
    if (FRecordFile.empty()) {
        return;
    }
    const TDesktopRecord record{FShell.Commands(), FDisplayKeptOn && FDpmsWasEnabled};
    if (record.Empty()) {
        ::unlink(FRecordFile.c_str());
    } else {
        WriteFileWhole(FRecordFile, FormatDesktopRecord(record));
    }
}

std::string TX11DesktopControl::KeepChangesRecord(const std::string& fileName) {
    std::string repaired;
    if (FileExists(fileName)) {
        std::optional<TDesktopRecord> leftover;
        try {
            leftover = ParseDesktopRecord(ReadFileBytes(fileName));
        } catch (const std::exception&) {
        }
        if (!leftover) {
            repaired = "its record " + fileName + " was damaged and is dropped";
        } else {
            if (leftover->PowerSavingWasOn && FX->HasDpmsExtension()) {
                TX11ErrorTrap trap(FX->Get());
                DPMSEnable(Dpy());
                XFlush(Dpy());
                repaired = "display power saving is on again";
            }
            if (!leftover->StoppedShell.empty()) {
                FShell.Adopt(leftover->StoppedShell);
                const int started = FShell.StartAll();
                repaired += std::string(repaired.empty() ? "" : ", ") +
                            "the desktop shell is started again (" + std::to_string(started) + ")";
            }
        }
    }
    FRecordFile = fileName;
    SaveChangesRecord();
    return repaired;
}

}  // namespace

std::unique_ptr<IDesktopControl> ConnectX11DesktopControl() {
    std::unique_ptr<TX11Display> display = TX11Display::Open();
    if (display == nullptr) {
        return nullptr;
    }
    return std::make_unique<TX11DesktopControl>(std::move(display));
}

}  // namespace plintor
