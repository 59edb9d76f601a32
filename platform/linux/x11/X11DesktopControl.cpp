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
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/lockdown/DesktopRecord.h"
#include "core/lockdown/DesktopRecordFile.h"
#include "core/lockdown/ForeignWindowRules.h"
#include "platform/DesktopControl.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/posix/ShellLauncher.h"
#include "platform/linux/x11/X11Display.h"

namespace plintor {
namespace {

// How long bringWindowToFront waits for the window manager to make the window active.
constexpr auto ActivationWait = std::chrono::milliseconds(250);
constexpr auto ActivationPoll = std::chrono::milliseconds(10);
// The source indication of EWMH messages: a pager, which window managers obey without the
// focus stealing prevention meant for applications.
constexpr long PagerSource = 2;
constexpr long NetWmStateRemove = 0;
constexpr long NetWmStateAdd = 1;

struct TopLevelClient {
    XWindow window = 0;
    bool viewable = false;
};

// The X server's process, from the lock file it keeps for a display of this machine.
long localServerProcessId(const char* displayName) {
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

class X11DesktopControl final : public DesktopControl {
public:
    explicit X11DesktopControl(std::unique_ptr<X11Display> display)
        : m_x11(std::move(display)), m_serverProcessId(localServerProcessId(DisplayString(dpy()))) {
        X11ErrorTrap trap(m_x11->get());
        watchDesktop();
        m_context.ownProcessId = ::getpid();
        m_context.developmentProcessId = 0;
        const std::vector<long> shell = shellProcessIds();
        m_context.shellProcessId = shell.empty() ? 0 : shell.front();
    }

    ~X11DesktopControl() override {
        if (m_displayKeptOn) {
            keepDisplayOn(false);
        }
    }

    bool closeForeignWindows() override;
    bool stopShell() override;
    int startShell() override;
    bool bringWindowToFront(unsigned long window) override;
    bool foreignWindowInFront() override;
    void setTopmost(unsigned long window, bool topmost) override;
    void raiseWindow(unsigned long window) override;
    void lowerWindow(unsigned long window) override;
    bool isScreensaverRunning() override;
    int changeDescriptor() const override { return ConnectionNumber(dpy()); }
    bool takeChanges() override;
    bool changesQueued() const override { return XEventsQueued(dpy(), QueuedAlready) > 0; }
    void keepDisplayOn(bool on) override;
    std::string keepChangesRecord(const std::string& fileName) override;
    std::string shellStopWithheld() const override { return m_shellStopWithheld; }

private:
    Display* dpy() const { return m_x11->get(); }
    XAtom atomFor(XAtomName name) const { return m_x11->atomFor(name); }

    std::vector<TopLevelClient> topLevelClients() const;
    ForeignWindow describe(const TopLevelClient& client) const;
    bool isDesktopOrDock(XWindow window) const;
    std::vector<long> shellProcessIds() const;
    long windowManagerProcessId() const;
    bool maySignal(long processId, long windowManager) const;
    bool askToClose(XWindow window) const;
    void watchDesktop();
    void readEvents();
    void note(const XEvent& event);
    bool readActiveWindowIsForeign() const;
    long wmState(XWindow window) const;
    XWindow activeWindow() const;
    bool isActive(XWindow window) const;
    bool waitUntilActive(XWindow window) const;
    void sendToRoot(XWindow window, XAtom type, std::initializer_list<long> data) const;
    bool dpmsEnabled() const;
    DesktopRecord changes() const;
    void saveChangesRecord() const;

    std::unique_ptr<X11Display> m_x11;
    const long m_serverProcessId;
    ForeignWindowContext m_context;
    ShellLauncher m_shell;
    bool m_displayKeptOn = false;
    bool m_dpmsWasEnabled = false;
    DesktopRecordFile m_record;
    std::string m_shellStopWithheld;

    // What the server's events say, so that an unchanged desktop costs no round trip. Every
    // change of the windows counts one generation up; a pass remembers the generation it
    // started at when it left nothing behind to do.
    unsigned long m_generation = 1;
    unsigned long m_closedCleanAt = 0;
    unsigned long m_shellCheckedAt = 0;
    bool m_guardShouldLook = false;
    std::optional<bool> m_screensaverOn;
    std::optional<bool> m_foreignInFront;
    struct Topmost {
        XWindow window = 0;
        bool on = false;
        unsigned long generation = 0;
    } m_topmost;
};

// Only our own connection's view: SubstructureNotify on the root is shared, unlike the window
// manager's redirect.
void X11DesktopControl::watchDesktop() {
    XSelectInput(dpy(), m_x11->root(), PropertyChangeMask | SubstructureNotifyMask);
    if (m_x11->hasScreenSaverExtension()) {
        XScreenSaverSelectInput(dpy(), m_x11->root(), ScreenSaverNotifyMask);
    }
}

// Only what has arrived: events the other requests' replies brought along wait in Xlib's queue,
// the rest on the socket; neither asks the server.
void X11DesktopControl::readEvents() {
    while (XEventsQueued(dpy(), QueuedAfterReading) > 0) {
        XEvent event{};
        XNextEvent(dpy(), &event);
        note(event);
    }
}

void X11DesktopControl::note(const XEvent& event) {
    if (m_x11->hasScreenSaverExtension() && event.type == m_x11->screenSaverNotifyType()) {
        m_screensaverOn =
            reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state != ScreenSaverOff;
        m_guardShouldLook = true;
        return;
    }
    switch (event.type) {
        case PropertyNotify: {
            const XAtom property = event.xproperty.atom;
            if (property != atomFor(XAtomName::NetActiveWindow) &&
                property != atomFor(XAtomName::NetClientList) &&
                property != atomFor(XAtomName::NetSupportingWmCheck)) {
                return;
            }
            break;
        }
        case CreateNotify:
        case MapNotify:
        case UnmapNotify:
        case DestroyNotify:
        case ReparentNotify:
            break;
        default:
            return;
    }
    ++m_generation;
    m_foreignInFront.reset();
    m_guardShouldLook = true;
}

bool X11DesktopControl::takeChanges() {
    readEvents();
    return std::exchange(m_guardShouldLook, false);
}

// Without a window manager nobody sets WM_STATE, so a top-level window that is no pop-up
// counts as a client itself; with one, windows without a client are the manager's own.
std::vector<TopLevelClient> X11DesktopControl::topLevelClients() const {
    const bool managed = m_x11->windowManagerCheck() != 0;
    std::vector<TopLevelClient> clients;
    for (const XWindow topLevel : m_x11->children(m_x11->root())) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(dpy(), topLevel, &attributes)) {
            continue;
        }
        XWindow client = m_x11->clientWindowIn(topLevel);
        if (client == 0 && !managed && !attributes.override_redirect) {
            client = topLevel;
        }
        if (client != 0) {
            // An iconified window is still open, only out of sight, and one click away.
            const bool viewable =
                attributes.map_state == IsViewable || wmState(client) == IconicState;
            clients.push_back({client, viewable});
        }
    }
    return clients;
}

ForeignWindow X11DesktopControl::describe(const TopLevelClient& client) const {
    ForeignWindow window;
    window.viewable = client.viewable;
    window.enabled = true;
    // WM_CLASS holds the instance name and the class name, each ending in a NUL.
    const std::string names = m_x11->bytes(client.window, XA_WM_CLASS);
    const std::size_t split = names.find('\0');
    if (split != std::string::npos) {
        window.className = names.substr(split + 1, names.find('\0', split + 1) - split - 1);
    }
    window.classKnown = !window.className.empty();
    window.desktopOrDock = isDesktopOrDock(client.window);
    window.processId = m_x11->ownerProcessId(client.window);
    window.hasTitle = !m_x11->bytes(client.window, atomFor(XAtomName::NetWmName)).empty() ||
                      !m_x11->bytes(client.window, XA_WM_NAME).empty();
    return window;
}

bool X11DesktopControl::isDesktopOrDock(XWindow window) const {
    const XAtom type = atomFor(XAtomName::NetWmWindowType);
    return m_x11->longsContain(window, type, atomFor(XAtomName::NetWmWindowTypeDesktop)) ||
           m_x11->longsContain(window, type, atomFor(XAtomName::NetWmWindowTypeDock));
}

// Hidden panels count too: they are part of the shell all the same.
std::vector<long> X11DesktopControl::shellProcessIds() const {
    const long windowManager = windowManagerProcessId();
    std::vector<long> processIds;
    for (const XWindow topLevel : m_x11->children(m_x11->root())) {
        const XWindow client = m_x11->clientWindowIn(topLevel);
        const XWindow window = client != 0 ? client : topLevel;
        if (!isDesktopOrDock(window)) {
            continue;
        }
        const long processId = m_x11->ownerProcessId(window);
        if (maySignal(processId, windowManager) &&
            std::find(processIds.begin(), processIds.end(), processId) == processIds.end()) {
            processIds.push_back(processId);
        }
    }
    return processIds;
}

// Looked up for every pass: the window manager may have been replaced.
long X11DesktopControl::windowManagerProcessId() const {
    const XWindow check = m_x11->windowManagerCheck();
    return check != 0 ? m_x11->ownerProcessId(check) : 0;
}

// Never init, ourselves, the X server or the window manager: ending any of them ends the
// session, not a program in it.
bool X11DesktopControl::maySignal(long processId, long windowManager) const {
    return processId > 1 && processId != m_context.ownProcessId && processId != m_serverProcessId &&
           processId != windowManager;
}

// A window that was asked to close or whose program was ended is looked at again next time,
// changed or not: it may still be there.
bool X11DesktopControl::closeForeignWindows() {
    readEvents();
    if (m_closedCleanAt == m_generation) {
        return true;
    }
    const unsigned long generation = m_generation;
    X11ErrorTrap trap(m_x11->get());
    const long windowManager = windowManagerProcessId();
    bool acted = false;
    for (const TopLevelClient& client : topLevelClients()) {
        const ForeignWindow window = describe(client);
        switch (decideForeignWindow(window, m_context)) {
            case ForeignWindowAction::Skip:
                break;
            case ForeignWindowAction::AskToClose:
                acted = askToClose(client.window) || acted;
                break;
            case ForeignWindowAction::EndProcess:
                if (maySignal(window.processId, windowManager)) {
                    acted = ::kill(static_cast<pid_t>(window.processId), SIGKILL) == 0 || acted;
                }
                break;
        }
    }
    m_closedCleanAt = acted ? 0 : generation;
    return !acted;
}

// The ICCCM way: a program that does not offer WM_DELETE_WINDOW cannot be asked.
bool X11DesktopControl::askToClose(XWindow window) const {
    const XAtom protocols = atomFor(XAtomName::WmProtocols);
    const XAtom deleteWindow = atomFor(XAtomName::WmDeleteWindow);
    if (!m_x11->longsContain(window, protocols, deleteWindow)) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy(), window, False, NoEventMask, &event);
    return true;
}

// A shell whose command line cannot be read is ended all the same: the lockdown comes first.
// One whose command line is known is ended only once the record names it: after a kill, nothing
// else would start it again. One that was asked to end is looked for again next time: it may
// take its time, or refuse; so is one left running for want of its record.
bool X11DesktopControl::stopShell() {
    readEvents();
    if (m_shellCheckedAt == m_generation) {
        return false;
    }
    const unsigned long generation = m_generation;
    X11ErrorTrap trap(m_x11->get());
    bool signalled = false;
    m_shellStopWithheld.clear();
    for (const long processId : shellProcessIds()) {
        if (const std::optional<ShellCommand> command = ShellLauncher::commandOf(processId)) {
            DesktopRecord record = changes();
            record.stoppedShell.push_back(*command);
            m_shellStopWithheld = m_record.save(record);
            if (!m_shellStopWithheld.empty()) {
                break;
            }
            m_shell.adopt({*command});
        }
        signalled = ::kill(static_cast<pid_t>(processId), SIGTERM) == 0 || signalled;
    }
    m_shellCheckedAt = signalled || !m_shellStopWithheld.empty() ? 0 : generation;
    return signalled;
}

int X11DesktopControl::startShell() {
    const int result = m_shell.startAll();
    saveChangesRecord();
    return result;
}

long X11DesktopControl::wmState(XWindow window) const {
    const std::vector<unsigned long> state = m_x11->longs(window, atomFor(XAtomName::WmState));
    return state.empty() ? WithdrawnState : static_cast<long>(state.front());
}

// Without a window manager there is no _NET_ACTIVE_WINDOW (or a stale one): the focus tells.
XWindow X11DesktopControl::activeWindow() const {
    if (m_x11->windowManagerCheck() != 0) {
        const std::vector<unsigned long> active =
            m_x11->longs(m_x11->root(), atomFor(XAtomName::NetActiveWindow));
        return active.empty() ? 0 : active.front();
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(dpy(), &focus, &revertTo);
    return focus == PointerRoot ? 0 : focus;
}

// The focus may rest on a window inside the top-level window.
bool X11DesktopControl::isActive(XWindow window) const {
    const XWindow active = activeWindow();
    if (active == 0 || active == window) {
        return active != 0;
    }
    const XWindow topLevel = m_x11->topLevelOf(window);
    return topLevel != 0 && m_x11->topLevelOf(active) == topLevel;
}

bool X11DesktopControl::waitUntilActive(XWindow window) const {
    const auto deadline = std::chrono::steady_clock::now() + ActivationWait;
    while (!isActive(window)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(ActivationPoll);
    }
    return true;
}

void X11DesktopControl::sendToRoot(XWindow window, XAtom type,
                                   std::initializer_list<long> data) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(dpy(), m_x11->root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

bool X11DesktopControl::bringWindowToFront(unsigned long window) {
    m_foreignInFront.reset();
    X11ErrorTrap trap(m_x11->get());
    if (wmState(window) == IconicState) {
        XMapWindow(dpy(), window);
    }
    if (isActive(window)) {
        return false;
    }
    sendToRoot(window, atomFor(XAtomName::NetActiveWindow), {PagerSource, CurrentTime, 0});
    XRaiseWindow(dpy(), m_x11->topLevelOf(window));
    XSetInputFocus(dpy(), window, RevertToParent, CurrentTime);
    XSync(dpy(), False);
    return waitUntilActive(window);
}

// Kept while the window manager announces the active window: a change of it comes as an event.
// Without one the focus tells, and a change of the focus comes to nobody but the two windows.
bool X11DesktopControl::foreignWindowInFront() {
    readEvents();
    if (m_foreignInFront) {
        return *m_foreignInFront;
    }
    X11ErrorTrap trap(m_x11->get());
    const bool foreign = readActiveWindowIsForeign();
    if (m_x11->windowManagerCheck() != 0) {
        m_foreignInFront = foreign;
    }
    return foreign;
}

// A window whose owner is unknown is not ours: ours are always known.
bool X11DesktopControl::readActiveWindowIsForeign() const {
    const XWindow active = activeWindow();
    return active != 0 && m_x11->ownerProcessId(active) != m_context.ownProcessId;
}

// Sent again only when windows came or went since: a new one may have been put above.
void X11DesktopControl::setTopmost(unsigned long window, bool topmost) {
    readEvents();
    if (m_topmost.window == window && m_topmost.on == topmost &&
        m_topmost.generation == m_generation) {
        return;
    }
    m_topmost = {window, topmost, m_generation};
    X11ErrorTrap trap(m_x11->get());
    sendToRoot(window, atomFor(XAtomName::NetWmState),
               {topmost ? NetWmStateAdd : NetWmStateRemove,
                static_cast<long>(atomFor(XAtomName::NetWmStateAbove)), 0, PagerSource});
    if (topmost) {
        XRaiseWindow(dpy(), m_x11->topLevelOf(window));
    }
    XFlush(dpy());
}

// The frame moves, not the window: inside its frame the window has nothing to pass.
void X11DesktopControl::raiseWindow(unsigned long window) {
    m_topmost = {};
    X11ErrorTrap trap(m_x11->get());
    XRaiseWindow(dpy(), m_x11->topLevelOf(window));
    XFlush(dpy());
}

void X11DesktopControl::lowerWindow(unsigned long window) {
    m_topmost = {};
    X11ErrorTrap trap(m_x11->get());
    XLowerWindow(dpy(), m_x11->topLevelOf(window));
    XFlush(dpy());
}

// Asked once; from then on the extension's notify events tell.
bool X11DesktopControl::isScreensaverRunning() {
    if (!m_x11->hasScreenSaverExtension()) {
        return false;
    }
    readEvents();
    if (!m_screensaverOn) {
        X11ErrorTrap trap(m_x11->get());
        const std::unique_ptr<XScreenSaverInfo, int (*)(void*)> info(XScreenSaverAllocInfo(),
                                                                     XFree);
        m_screensaverOn = info != nullptr &&
                          XScreenSaverQueryInfo(dpy(), m_x11->root(), info.get()) &&
                          info->state == ScreenSaverOn;
    }
    return *m_screensaverOn;
}

bool X11DesktopControl::dpmsEnabled() const {
    CARD16 level = 0;
    BOOL enabled = False;
    return DPMSInfo(dpy(), &level, &enabled) && enabled;
}

// The server counts a client's suspensions, so only a change is sent: one "off" must undo any
// number of "on". It ends the suspension with our connection, but DPMS stays as we leave it:
// it is switched back on when the display may sleep again, and when we go.
void X11DesktopControl::keepDisplayOn(bool on) {
    X11ErrorTrap trap(m_x11->get());
    if (m_x11->hasScreenSaverExtension() && on != m_displayKeptOn) {
        XScreenSaverSuspend(dpy(), on ? True : False);
    }
    if (on) {
        XResetScreenSaver(dpy());
    }
    if (m_x11->hasDpmsExtension()) {
        if (on) {
            m_dpmsWasEnabled = m_displayKeptOn ? m_dpmsWasEnabled : dpmsEnabled();
            DPMSDisable(dpy());
        } else if (m_displayKeptOn && m_dpmsWasEnabled) {
            DPMSEnable(dpy());
        }
    }
    m_displayKeptOn = on;
    m_screensaverOn.reset();  // the reset ends a running saver; the next question asks the server
    XFlush(dpy());
    saveChangesRecord();
}

DesktopRecord X11DesktopControl::changes() const {
    return {m_shell.commands(), m_displayKeptOn && m_dpmsWasEnabled};
}

// A record that cannot be written now is written with the next change, or by the next run.
void X11DesktopControl::saveChangesRecord() const {
    m_record.save(changes());
}

std::string X11DesktopControl::keepChangesRecord(const std::string& fileName) {
    const DesktopRecordFile::Leftover leftover = m_record.keepIn(fileName);
    std::string repaired;
    if (leftover.damaged) {
        repaired = "its record " + fileName + " was damaged and is dropped";
    } else if (leftover.record) {
        if (leftover.record->powerSavingWasOn && m_x11->hasDpmsExtension()) {
            X11ErrorTrap trap(m_x11->get());
            DPMSEnable(dpy());
            XFlush(dpy());
            repaired = "display power saving is on again";
        }
        if (!leftover.record->stoppedShell.empty()) {
            m_shell.adopt(leftover.record->stoppedShell);
            const int started = m_shell.startAll();
            repaired += std::string(repaired.empty() ? "" : ", ") +
                        "the desktop shell is started again (" + std::to_string(started) + ")";
        }
    }
    saveChangesRecord();
    return repaired;
}

}  // namespace

std::unique_ptr<DesktopControl> connectX11DesktopControl() {
    std::unique_ptr<X11Display> display = X11Display::open();
    if (display == nullptr) {
        return nullptr;
    }
    return std::make_unique<X11DesktopControl>(std::move(display));
}

}  // namespace plintor
