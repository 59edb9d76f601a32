#include "app/VisitorSession.h"

#include "app/KioskWindow.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"
#include "core/support/Log.h"

namespace plintor {

void VisitorSession::goHome() {
    m_window.goHome();
}

bool VisitorSession::homePageUnchanged() const {
    return m_window.browser().homePageUnchanged();
}

void VisitorSession::clearSession() {
    m_window.browser().startNewSession();
    for (const std::string& line : m_state.documentFolder.clear()) {
        logEntry(line);
    }
}

void VisitorSession::renewPage() {
    m_window.browser().renewPage();
}

void VisitorSession::resetZoom() {
    m_window.resetZoom();
}

}  // namespace plintor
