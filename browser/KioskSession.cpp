#include "browser/KioskSession.h"

namespace plintor {
namespace {

// Dialog-like pages: text outside input fields cannot be selected.
constexpr const char* NoSelectionStyle =
    "html { -webkit-user-select: none; user-select: none; }"
    " input, textarea, select, [contenteditable], [contenteditable] *"
    " { -webkit-user-select: text; user-select: text; }";

// The engine's PDF viewer shows the document alone: its toolbar's buttons (print, save, open
// a file, annotate) would lead a visitor nowhere, and the viewer's own parameters for hiding
// it are not read. Only the viewer's frame gets this.
constexpr const char* ViewerStyle =
    "#toolbarContainer, #sidebarContainer, #secondaryToolbar { display: none !important; }"
    " #viewerContainer { inset: 0 !important; }";
const char* const ViewerFrames[] = {"webkit-pdfjs-viewer://pdfjs/*", nullptr};

void addStyle(WebKitUserContentManager* content, const char* style, const char* const* frames) {
    WebKitUserStyleSheet* sheet =
        webkit_user_style_sheet_new(style, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                    WEBKIT_USER_STYLE_LEVEL_USER, frames, nullptr);
    webkit_user_content_manager_add_style_sheet(content, sheet);
    webkit_user_style_sheet_unref(sheet);
}

WebKitUserContentManager* newContent() {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    addStyle(content, NoSelectionStyle, nullptr);
    addStyle(content, ViewerStyle, ViewerFrames);
    return content;
}

// What a page may do beyond showing itself: open its windows in the same page (the policy
// sees them), nothing with the clipboard, the full screen or the developer tools. The
// visitor's zoom enlarges pictures with the text, so that the page keeps its layout.
WebKitSettings* newSettings() {
    return webkit_settings_new_with_settings(
        "javascript-can-open-windows-automatically", TRUE, "javascript-can-access-clipboard", FALSE,
        "enable-fullscreen", FALSE, "enable-developer-extras", FALSE,
        "enable-back-forward-navigation-gestures", FALSE, "zoom-text-only", FALSE, nullptr);
}

}  // namespace

KioskSession::KioskSession(std::function<void(WebKitDownload*)> downloadStarted)
    : m_downloadStarted(std::move(downloadStarted)),
      m_context(GObjectRef<WebKitWebContext>::adopt(webkit_web_context_new())),
      m_requestGuard(m_context.get()),
      m_content(GObjectRef<WebKitUserContentManager>::adopt(newContent())),
      m_settings(GObjectRef<WebKitSettings>::adopt(newSettings())) {
    openNetworkSession();
}

KioskSession::~KioskSession() = default;

void KioskSession::renew() {
    m_downloads.disconnect();
    m_network.reset();
    openNetworkSession();
}

void KioskSession::openNetworkSession() {
    m_network = GObjectRef<WebKitNetworkSession>::adopt(webkit_network_session_new_ephemeral());
    // The certificate rules of the engine hold: an address with a bad certificate fails.
    webkit_network_session_set_tls_errors_policy(m_network.get(), WEBKIT_TLS_ERRORS_POLICY_FAIL);
    m_downloads = ScopedSignal(m_network.get(), "download-started",
                               G_CALLBACK(&KioskSession::onDownloadStarted), this);
}

void KioskSession::onDownloadStarted(WebKitNetworkSession*, WebKitDownload* download,
                                     gpointer self) {
    static_cast<KioskSession*>(self)->m_downloadStarted(download);
}

}  // namespace plintor
