#include "app/VisitorSession.h"

#include "app/KioskWindow.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"
#include "core/documents/DownloadRules.h"

namespace plintor {

void VisitorSession::goHome() {
    m_window.hideShutdownPanel();
    if (!m_state.buttons.empty()) {
        m_window.browser().navigateHome(m_state.buttons.front().url);
    }
}

bool VisitorSession::homePageUnchanged() const {
    return m_window.browser().homePageUnchanged();
}

void VisitorSession::clearSession() {
    m_window.browser().startNewSession();
    deleteTempFiles(m_state.tempFiles);
}

void VisitorSession::renewPage() {
    m_window.browser().renewPage();
}

}  // namespace plintor
