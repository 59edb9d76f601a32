#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWebEnginePage;

namespace plintor {

// Tells when the page's renderer ended abnormally (crash, killed, out of memory) or stopped
// answering: a script that never returns freezes the page, and with it every way back that
// goes through the same renderer. It asks often while a visitor or a load is at work, and
// seldom on a page at rest: a hang there keeps nobody waiting, and the first input after the
// rest has the renderer asked within ProbeIntervalMs.
class RendererWatch final : public QObject {
    Q_OBJECT
public:
    static constexpr int ProbeIntervalMs = 5000;
    static constexpr int RestingProbeIntervalMs = 60000;
    // Without input or a load for this long, the page is at rest.
    static constexpr int RestAfterMs = 10000;
    static constexpr int UnresponsiveAfterMs = 30000;

    RendererWatch(QWebEnginePage& page, QObject* parent);

    // The visitor gave input: the renderer is asked often again.
    void activityCame();

signals:
    // `reason`: "crashed", "killed" or "ended abnormally".
    void ended(const QString& reason, int exitCode);
    // The renderer has not answered for UnresponsiveAfterMs; said once until it answers.
    void unresponsive();

private:
    void timeUp();
    void probe();
    void answered();
    void scheduleProbe();
    bool resting() const;

    QWebEnginePage& m_page;
    QTimer m_timer;                // the next question, or the verdict on the open one
    QElapsedTimer m_waitingSince;  // invalid while no question is open
    QElapsedTimer m_lastActivity;
    quint64 m_question = 0;
    bool m_said = false;
};

}  // namespace plintor
