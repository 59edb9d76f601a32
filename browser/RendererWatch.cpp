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
    connect(&page, &QWebEnginePage::loadStarted, this, &RendererWatch::activityCame);
    // A finished load or a new renderer is an answer too: a question asked of a document that
    // went away may never be answered.
    connect(&page, &QWebEnginePage::loadFinished, this, &RendererWatch::answered);
    connect(&page, &QWebEnginePage::renderProcessPidChanged, this, &RendererWatch::answered);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RendererWatch::timeUp);
    m_lastActivity.start();
    scheduleProbe();
}

void RendererWatch::activityCame() {
    const bool wasResting = resting();
    m_lastActivity.start();
    if (wasResting && !m_waitingSince.isValid() && m_timer.remainingTime() > ProbeIntervalMs) {
        m_timer.start(ProbeIntervalMs);
    }
}

bool RendererWatch::resting() const {
    return m_lastActivity.hasExpired(RestAfterMs);
}

void RendererWatch::scheduleProbe() {
    m_timer.start(resting() ? RestingProbeIntervalMs : ProbeIntervalMs);
}

void RendererWatch::timeUp() {
    if (!m_waitingSince.isValid()) {
        probe();
        return;
    }
    const qint64 left = UnresponsiveAfterMs - m_waitingSince.elapsed();
    if (left > 0) {
        m_timer.start(static_cast<int>(left));
    } else if (!m_said) {
        m_said = true;
        emit unresponsive();
    }
}

// One question at a time, asked in the kiosk's own script world so that the page cannot see or
// answer it; a renderer busy in an endless script cannot run it.
void RendererWatch::probe() {
    if (m_page.renderProcessPid() == 0) {
        scheduleProbe();  // no renderer yet, or it ended: nothing to ask
        return;
    }
    m_waitingSince.start();
    m_timer.start(UnresponsiveAfterMs);
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
    scheduleProbe();
}

}  // namespace plintor
