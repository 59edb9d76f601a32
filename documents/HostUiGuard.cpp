#include "documents/HostUiGuard.h"

#include <QAuthenticator>
#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace plintor {
namespace {

// Dialog-like pages: text outside input fields cannot be selected.
const char* const NoSelectionScript = R"JS(
(function () {
  var style = document.createElement('style');
  style.textContent = 'html { -webkit-user-select: none; user-select: none; }' +
    ' input, textarea, select, [contenteditable], [contenteditable] * ' +
    '{ -webkit-user-select: text; user-select: text; }';
  (document.head || document.documentElement).appendChild(style);
})();
)JS";

void installNoSelection(QWebEnginePage& page) {
    QWebEngineScript script;
    script.setName(QStringLiteral("plintor-no-selection"));
    script.setSourceCode(QString::fromUtf8(NoSelectionScript));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(true);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    page.scripts().insert(script);
}

void refusePrompts(QWebEnginePage& page) {
    QObject::connect(&page, &QWebEnginePage::certificateError, &page,
                     [](const QWebEngineCertificateError& error) {
                         QWebEngineCertificateError refused = error;
                         refused.rejectCertificate();
                     });
    // An authenticator left empty cancels the request without asking anybody.
    QObject::connect(
        &page, &QWebEnginePage::authenticationRequired, &page,
        [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
    QObject::connect(&page, &QWebEnginePage::proxyAuthenticationRequired, &page,
                     [](const QUrl&, QAuthenticator* authenticator, const QString&) {
                         *authenticator = QAuthenticator();
                     });
    QObject::connect(&page, &QWebEnginePage::featurePermissionRequested, &page,
                     [&page](const QUrl& origin, QWebEnginePage::Feature feature) {
                         page.setFeaturePermission(origin, feature,
                                                   QWebEnginePage::PermissionDeniedByUser);
                     });
    QObject::connect(&page, &QWebEnginePage::fullScreenRequested, &page,
                     [](QWebEngineFullScreenRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::fileSystemAccessRequested, &page,
                     [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    QObject::connect(&page, &QWebEnginePage::registerProtocolHandlerRequested, &page,
                     [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

}  // namespace

void guardHostUi(QWebEngineView& view) {
    view.setContextMenuPolicy(Qt::NoContextMenu);
    QWebEnginePage& page = *view.page();
    installNoSelection(page);
    // Nothing is saved anywhere the visitor chooses.
    for (const QWebEnginePage::WebAction save :
         {QWebEnginePage::SavePage, QWebEnginePage::DownloadLinkToDisk,
          QWebEnginePage::DownloadImageToDisk, QWebEnginePage::DownloadMediaToDisk}) {
        page.action(save)->setEnabled(false);
    }
    refusePrompts(page);
    // Print requests and window.close() are left unconnected: the engine does nothing with them.
}

}  // namespace plintor
