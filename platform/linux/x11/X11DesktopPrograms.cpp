#include "platform/linux/x11/X11DesktopPrograms.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {
namespace {

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

}  // namespace

X11DesktopPrograms::X11DesktopPrograms(const X11Display& x11)
    : m_x11(x11), m_serverProcessId(localServerProcessId(DisplayString(x11.get()))) {
    X11ErrorTrap trap(m_x11.get());
    m_context.ownProcessId = ::getpid();
    m_context.developmentProcessId = 0;
    const std::vector<long> shell = shellProcessIds();
    m_context.shellProcessId = shell.empty() ? 0 : shell.front();
}

bool X11DesktopPrograms::isDesktopOrDock(XWindow window) const {
    const XAtom type = m_x11.atomFor(XAtomName::NetWmWindowType);
    return m_x11.longsContain(window, type, m_x11.atomFor(XAtomName::NetWmWindowTypeDesktop)) ||
           m_x11.longsContain(window, type, m_x11.atomFor(XAtomName::NetWmWindowTypeDock));
}

std::vector<long> X11DesktopPrograms::shellProcessIds() const {
    const long windowManager = windowManagerProcessId();
    std::vector<long> processIds;
    for (const XWindow topLevel : m_x11.children(m_x11.root())) {
        const XWindow client = m_x11.clientWindowIn(topLevel);
        const XWindow window = client != 0 ? client : topLevel;
        if (!isDesktopOrDock(window)) {
            continue;
        }
        const long processId = m_x11.ownerProcessId(window);
        if (maySignal(processId, windowManager) &&
            std::find(processIds.begin(), processIds.end(), processId) == processIds.end()) {
            processIds.push_back(processId);
        }
    }
    return processIds;
}

long X11DesktopPrograms::windowManagerProcessId() const {
    const XWindow check = m_x11.windowManagerCheck();
    return check != 0 ? m_x11.ownerProcessId(check) : 0;
}

bool X11DesktopPrograms::maySignal(long processId, long windowManager) const {
    return processId > 1 && processId != m_context.ownProcessId && processId != m_serverProcessId &&
           processId != windowManager;
}

}  // namespace plintor
