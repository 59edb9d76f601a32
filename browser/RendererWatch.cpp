#include "browser/RendererWatch.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace plintor {
namespace {

QString endReason(QWebEnginePage::RenderProcessTerminationStatus status) {
    switch (status) {
        case QWebEnginePage::CrashedTerminationStatus:
            return QStringLiteral("crashed");
        case QWebEnginePage::KilledTerminationStatus:
            return QStringLiteral("killed");
        default:
            return QStringLiteral("ended abnormally");
    }
}

}  // namespace

RendererWatch::RendererWatch(QWebEnginePage& page, QObject* parent)
    : QObject(parent), m_page(page) {
    connect(&page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                answered();
                if (status != QWebEnginePage::NormalTerminationStatus) {
                    emit ended(endReason(status), exitCode);
                }
            });
    // A finished load or a new renderer is an answer too: a question asked of a document that
    // went away may never be answered.
    connect(&page, &QWebEnginePage::loadFinished, this, &RendererWatch::answered);
    connect(&page, &QWebEnginePage::renderProcessPidChanged, this, &RendererWatch::answered);
    connect(&m_probe, &QTimer::timeout, this, &RendererWatch::probe);
    m_probe.start(ProbeIntervalMs);
}

// One question at a time, asked in the kiosk's own script world so that the page cannot see or
// answer it; a renderer busy in an endless script cannot run it.
void RendererWatch::probe() {
    if (m_waitingSince.isValid()) {
        if (!m_said && m_waitingSince.hasExpired(UnresponsiveAfterMs)) {
            m_said = true;
            emit unresponsive();
        }
        return;
    }
    if (m_page.renderProcessPid() == 0) {
        return;  // no renderer yet, or it ended: nothing to ask
    }
    m_waitingSince.start();
    const quint64 question = ++m_question;
    m_page.runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                         [watch = QPointer<RendererWatch>(this), question](const QVariant&) {
                             if (watch && question == watch->m_question) {
                                 watch->answered();
                             }
                         });
}

void RendererWatch::answered() {
    m_waitingSince.invalidate();
    m_said = false;
    ++m_question;  // an older question's late answer means nothing now
}

}  // namespace plintor
