#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWebEnginePage;

namespace plintor {

// Tells when the page's renderer ended abnormally (crash, killed, out of memory) or stopped
// answering: a script that never returns freezes the page, and with it every way back that
// goes through the same renderer.
class RendererWatch final : public QObject {
    Q_OBJECT
public:
    static constexpr int ProbeIntervalMs = 5000;
    static constexpr int UnresponsiveAfterMs = 30000;

    RendererWatch(QWebEnginePage& page, QObject* parent);

signals:
    // `reason`: "crashed", "killed" or "ended abnormally".
    void ended(const QString& reason, int exitCode);
    // The renderer has not answered for UnresponsiveAfterMs; said once until it answers.
    void unresponsive();

private:
    void probe();
    void answered();

    QWebEnginePage& m_page;
    QTimer m_probe;
    QElapsedTimer m_waitingSince;  // invalid while no question is open
    quint64 m_question = 0;
    bool m_said = false;
};

}  // namespace plintor
